// What the lines of a recording say, one kind of file each: this tool's CSV (csv_lines.cpp)
// and the raw log (raw_log_lines.cpp). The reader hands them the file's lines in order,
// without their line feeds; they add the records to the recording and say why a line
// refuses the file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

struct Recording;

class RecordLines {
  public:
    virtual ~RecordLines() = default;
    // False, with the reason, when the file is refused at this line.
    virtual bool take(std::string_view line, std::string& reason) = 0;
    // After the last line; false, with the reason, when the file is refused as a whole.
    virtual bool finish(std::string& reason) = 0;
};

// The lines of a CSV whose header is `header`, or nullptr: with a reason when the header
// is refused, without one when the line is no CSV header at all.
std::unique_ptr<RecordLines> csvLinesFor(std::string_view header, Recording& recording,
                                         std::string& reason);
// The lines of a raw log whose first line is `first`, or nullptr when it holds no record.
std::unique_ptr<RecordLines> rawLogLinesFor(std::string_view first, Recording& recording);

// `text` in double quotes as it may safely be shown in one line, cut after 60 characters.
std::string quoted(std::string_view text);
