#include "recording/recording_reader.h"

#include <QFileInfo>
#include <cstring>

#include "recording/record_lines.h"
#include "toolkit/platform/file_system.h"
#include "toolkit/platform/visible_text.h"

namespace {

// Longer than any line of this tool's CSV or of a raw log, by far.
constexpr size_t kLongestLine = 256;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kTooLong[] = "the line is longer than any line of this tool's CSV or raw log";

}  // namespace

std::string quoted(std::string_view text) {
    constexpr size_t kShown = 60;
    const bool cut = text.size() > kShown;
    return "\"" + VisibleText(text.substr(0, kShown)) + (cut ? "…" : "") + "\"";
}

std::string recordingProblem(const std::string& path, const RecordingRefusal& refusal) {
    if (refusal.line == 0)
        return "cannot read " + path + ": " + refusal.reason;
    return path + ", line " + std::to_string(refusal.line) + ": " + refusal.reason;
}

RecordingReader::RecordingReader(const std::string& path)
    : recording_(std::make_unique<Recording>()), file_(QString::fromStdString(path)) {
    recording_->path = path;
    const PathKind kind = GetPathKind(path.c_str());
    if (kind == PathKind::Absent) {
        refuse(0, "there is no such file");
        return;
    }
    if (kind != PathKind::Regular) {
        refuse(0, std::string("it is ") + PathKindWords(kind));
        return;
    }
    if (!file_.open(QIODevice::ReadOnly)) {
        refuse(0, file_.errorString().toStdString());
        return;
    }
    recording_->fileSize = file_.size();
    recording_->fileModified = QFileInfo(file_).lastModified().toMSecsSinceEpoch();
    buffer_.resize(kBlockBytes + kLongestLine);
}

RecordingReader::~RecordingReader() = default;

bool RecordingReader::refuse(long long line, std::string reason) {
    refused_ = true;
    done_ = true;
    refusal_ = {line, std::move(reason)};
    file_.close();
    return false;
}

double RecordingReader::fraction() const {
    const long long size = recording_ ? recording_->fileSize : 0;
    return done_ || size <= 0 ? 1.0 : static_cast<double>(taken_) / static_cast<double>(size);
}

bool RecordingReader::readMore(size_t bytes) {
    if (done_)
        return false;
    const size_t room = std::min(bytes, buffer_.size() - held_);
    const qint64 read = file_.read(buffer_.data() + held_, static_cast<qint64>(room));
    if (read < 0)
        return refuse(0, file_.errorString().toStdString());
    if (read == 0)
        return finish();
    const char* data = buffer_.data();
    const size_t end = held_ + static_cast<size_t>(read);
    size_t from = 0;
    while (from < end) {
        const void* feed = std::memchr(data + from, '\n', end - from);
        if (!feed)
            break;
        const size_t at = static_cast<size_t>(static_cast<const char*>(feed) - data);
        ++lineNumber_;
        if (!takeLine(std::string_view(data + from, at - from),
                      taken_ + static_cast<long long>(from)))
            return false;
        from = at + 1;
    }
    held_ = end - from;
    if (held_ > kLongestLine)
        return refuse(lineNumber_ + 1, kTooLong);
    std::memmove(buffer_.data(), data + from, held_);
    taken_ += static_cast<long long>(from);
    return true;
}

bool RecordingReader::takeLine(std::string_view line, long long offset) {
    if (line.size() > kLongestLine)
        return refuse(lineNumber_, kTooLong);
    std::string reason;
    if (!lines_) {
        if (offset == 0 && line.starts_with(kByteOrderMark))
            line.remove_prefix(kByteOrderMark.size());
        if (line.empty() || line == "\r")
            return true;
        if ((lines_ = rawLogLinesFor(line, *recording_))) {
            // The first line is a record as well.
        } else if ((lines_ = csvLinesFor(line, *recording_, reason))) {
            return true;
        } else {
            return refuse(lineNumber_, reason.empty()
                                           ? "not a recording: " + quoted(line) +
                                                 " is neither the header of this tool's CSV "
                                                 "(time_iso,elapsed_s,counts,level…) nor a "
                                                 "record of a raw log"
                                           : reason);
        }
    }
    const size_t before = recording_->size();
    if (!lines_->take(line, reason))
        return refuse(lineNumber_, reason);
    if (recording_->size() > before && before % kRowsPerOffset == 0)
        recording_->rowOffsets.push_back(offset);
    return true;
}

bool RecordingReader::finish() {
    done_ = true;
    taken_ += static_cast<long long>(held_);
    file_.close();
    if (!lines_) {
        if (recording_->fileSize == 0)
            return refuse(0, "it is empty");
        if (held_ > 0)
            return refuse(lineNumber_ + 1, "not a recording: it holds no whole line");
        return refuse(1, "not a recording: it holds nothing but empty lines");
    }
    std::string reason;
    if (!lines_->finish(reason))
        return refuse(1, reason);
    if (held_ > 0)
        recording_->notes.push_back("line " + std::to_string(lineNumber_ + 1) +
                                    " has no line end (the file was cut off there) and was not "
                                    "read");
    return false;
}

std::unique_ptr<Recording> RecordingReader::take() {
    if (!done_ || refused_)
        return nullptr;
    return std::move(recording_);
}

RecordingRead readRecording(const std::string& path) {
    RecordingReader reader(path);
    while (reader.readMore()) {
    }
    RecordingRead read;
    read.refusal = reader.refusal();
    read.recording = reader.take();
    return read;
}
