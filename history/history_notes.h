// Notes of what happened, kept in the settings history beside the blocks: a clock read or
// set, a calibration, a live run. A visit report is made of them and of the
// blocks.
//
// A note is one line of the history file, tab-separated like an entry:
//   2026-12-07 12:00:00 <TAB> clock read <TAB> note <TAB> QV-0000012345 <TAB> COM1
//   <TAB> instrument=2026-12-07 12:02:13 <TAB> drift=133 ...
// time on this computer, what happened, "note", the serial number and the port, then its
// facts as name=value fields, each value escaped (\t, \n, \r, \\) so that free text never
// breaks the line. "note" is no stage of an entry: a note is never taken for settings, and
// the loader keeps notes apart from the entries it restores from.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr char kNoteStage[] = "note";

// What a note tells.
inline constexpr char kClockReadNote[] = "clock read";
inline constexpr char kClockSetNote[] = "clock set";
inline constexpr char kCalibrationNote[] = "calibration";
inline constexpr char kLiveRunNote[] = "live run";

struct HistoryNote {
    std::string time;
    std::string kind;
    std::string serialNumber;
    std::string port;
    std::vector<std::pair<std::string, std::string>> facts;
    long long line = 0;
    // The value of fact `name`; empty when the note has none.
    std::string fact(std::string_view name) const;
};

std::string escapeNoteText(std::string_view text);
std::string unescapeNoteText(std::string_view text);

// The line for a note, ending in a line feed.
std::string formatNoteLine(const HistoryNote& note);
// The note a line holds (without its line end); false when it is no note.
bool parseNoteLine(std::string_view line, HistoryNote& note);
