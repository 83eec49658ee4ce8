// A raw log: one line per record, the record's 5 or 11 characters as they came (the
// instrument's own line end among them), then the line end the log was written with (a
// line feed, which the window's logs store as CR LF). A record that is not a reading (a
// value outside 0 to 4095, or not a number) is out of step: numbered, never plotted.
#include <cstdint>
#include <string>

#include "link/record_stream.h"
#include "recording/record_lines.h"
#include "recording/recording.h"

namespace {

// The record's characters: the CR that a log written as text puts before the line feed
// goes, the record's own line end stays.
std::string_view recordOf(std::string_view line) {
    const bool storedCr =
        line.size() == kOneValueRecordLength + 1 || line.size() == kTwoValueRecordLength + 1;
    if (storedCr && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool recordLength(size_t length) {
    return length == kOneValueRecordLength || length == kTwoValueRecordLength;
}

// What the instrument's records are made of, readings or not: a text file whose first line
// happens to be 5 or 11 characters long is no raw log.
bool recordCharacters(std::string_view record) {
    return record.find_first_not_of("0123456789 +-,\r\n") == std::string_view::npos;
}

class RawLogLines : public RecordLines {
  public:
    RawLogLines(Recording& recording, size_t length) : recording_(recording), length_(length) {
        recording_.kind = RecordingKind::RawLog;
        recording_.numbered = true;
        recording_.twoValues = length == kTwoValueRecordLength;
        recording_.notes.push_back("no times in a raw log: records are numbered");
    }

    bool take(std::string_view line, std::string& reason) override {
        if (line.empty())
            return true;
        const std::string_view record = recordOf(line);
        if (record.size() != length_) {
            reason = recordLength(record.size())
                         ? "a record of " + std::to_string(record.size()) +
                               " characters among records of " + std::to_string(length_)
                         : quoted(line) + " is not a record of 5 or 11 characters";
            return false;
        }
        const unsigned long long number = ++recording_.recordLines;
        if (number > UINT32_MAX) {
            reason = "more records than this tool reads (" + std::to_string(UINT32_MAX) + ")";
            return false;
        }
        RecordValues values;
        if (!readRecordValues(record.data(), static_cast<int>(record.size()), values))
            return true;  // out of step: numbered, not kept
        if (recording_.empty()) {
            recording_.stretchStarts.push_back(0);
            recording_.stretchNames.push_back(1);
        }
        recording_.times.push(static_cast<uint32_t>(number));
        recording_.counts.push(static_cast<uint16_t>(values.counts));
        recording_.levels.add(static_cast<uint16_t>(values.counts));
        if (values.hasSecond)
            recording_.counts2.push(static_cast<uint16_t>(values.counts2));
        return true;
    }

    bool finish(std::string& reason) override {
        if (recording_.recordLines > 0 && recording_.empty()) {
            reason = "none of its " + std::to_string(recording_.recordLines) +
                     " records is a reading (a count from 0 to 4095)";
            return false;
        }
        return true;
    }

  private:
    Recording& recording_;
    size_t length_;
};

}  // namespace

std::unique_ptr<RecordLines> rawLogLinesFor(std::string_view first, Recording& recording) {
    const std::string_view record = recordOf(first);
    if (!recordLength(record.size()) || !recordCharacters(record))
        return nullptr;
    return std::make_unique<RawLogLines>(recording, record.size());
}
