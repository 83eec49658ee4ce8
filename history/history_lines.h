// One line of the settings history: its format, and whether a line read back is an entry.
//
// A line is tab-separated and readable as it stands:
//   2026-12-07 12:00:00 <TAB> kx write <TAB> before <TAB> QV-0000012345 <TAB> COM1 <TAB> 131
//   characters
// time on this computer, the action, "before" (the text read just before the write),
// "written" (the text the instrument acknowledged with 'D') or "read" (a block read to be
// looked at, kept so that the instrument's settings are known later), the serial number of the
// latest identification ("-" before any), the port, and the block text in its read form
// followed by the block's checksum, two hex digits, as the instrument sends it.
//
// A line proves itself as far as it can: every field is plain text (valid UTF-8, no control
// characters), the time has its shape, the block text has its 43 groups, and the checksum
// matches them. Lines kept before the checksum was added (129 characters of block text)
// still count as entries; they are marked as unchecked. No files here, no widgets.
#pragma once

#include <string>
#include <string_view>

inline constexpr char kBeforeStage[] = "before";
inline constexpr char kWrittenStage[] = "written";
inline constexpr char kReadStage[] = "read";

struct HistoryEntry {
    std::string time;
    std::string action;
    std::string stage;
    std::string serialNumber;
    std::string port;
    std::string text;      // 129 characters, the read form
    std::string checksum;  // the two hex digits kept behind it; empty in an older line
    long long line = 0;    // from 1, in its file
};

// Whether `time` has the shape of a history line's time, "2026-12-07 12:00:00".
bool isHistoryTime(std::string_view time);

// The line for a block text (its first 129 characters are kept, and their checksum),
// ending in a line feed. Text that is not plain is kept escaped, so the line reads back.
std::string formatHistoryLine(const std::string& time, const std::string& action,
                              const std::string& stage, const std::string& serialNumber,
                              const std::string& port, const char* blockText);

// The entry a line holds (without its line end); false when the line is damaged.
bool parseHistoryLine(std::string_view line, HistoryEntry& entry);

// Whether `text` has the read form: 43 groups of two hex digits and a comma.
bool isBlockText(std::string_view text);

// Whether the entry's block text has its form and, when a checksum was kept, matches it:
// what a restore checks before it writes anything.
bool blockTextSound(const HistoryEntry& entry);
