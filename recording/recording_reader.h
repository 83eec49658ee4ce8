// Reading a recording in one pass through its file, a large block at a time and no row
// kept as an object: the window reads a day's file in slices between its events (with a
// progress bar and Cancel), the command line all at once. No widgets here.
//
// Only a regular file is read. A file is refused at the first line that is neither this
// tool's CSV nor a raw log, with that line's number and the reason; a last line without
// its line end (a file cut off while it was written) is left unread and said so.
#pragma once

#include <QFile>
#include <memory>
#include <string>
#include <vector>

#include "recording/recording.h"

class RecordLines;

struct RecordingRefusal {
    long long line = 0;  // the line the file is refused at; 0 when it could not be read
    std::string reason;
};

// "<path>, line 7: <reason>", or "cannot read <path>: <reason>" for a file not read.
std::string recordingProblem(const std::string& path, const RecordingRefusal& refusal);

class RecordingReader {
  public:
    static constexpr size_t kBlockBytes = size_t{4} << 20;

    explicit RecordingReader(const std::string& path);
    ~RecordingReader();

    // Reads and takes in up to `bytes` more of the file; true while more is to come.
    bool readMore(size_t bytes = kBlockBytes);
    double fraction() const;  // of the file taken in, 0 to 1
    bool refused() const { return refused_; }
    const RecordingRefusal& refusal() const { return refusal_; }
    // The recording, once readMore has returned false without a refusal.
    std::unique_ptr<Recording> take();

  private:
    bool refuse(long long line, std::string reason);
    bool takeLine(std::string_view line, long long offset);
    bool finish();

    std::unique_ptr<Recording> recording_;
    std::unique_ptr<RecordLines> lines_;
    QFile file_;
    std::vector<char> buffer_;
    size_t held_ = 0;      // bytes of an unfinished line at the buffer's start
    long long taken_ = 0;  // bytes of the file before the buffer's start
    long long lineNumber_ = 0;
    bool done_ = false;
    bool refused_ = false;
    RecordingRefusal refusal_;
};

struct RecordingRead {
    std::unique_ptr<Recording> recording;  // nullptr when refused
    RecordingRefusal refusal;
};
// The whole file at once.
RecordingRead readRecording(const std::string& path);
