// The instrument at a glance: what the main page says about the instrument connected last
// and the settings last known for it (the newest history entry), each field in words, and
// the warnings an operator should act on, each with the place that mends it.
//
// Values only, no widgets: the window lays them out, and a report can use the same words.
// Nothing here talks to the instrument; the block comes from the history.
#pragma once

#include <string>
#include <vector>

#include "history/history_lines.h"
#include "history/history_notes.h"
#include "toolkit/platform/calendar.h"

enum class LinkOutcome { NotConnected, PortNotOpen, NoAnswer, Identified };

struct OverviewInput {
    LinkOutcome link = LinkOutcome::NotConnected;
    std::string port;                // "COM1 · /dev/ttyUSB0 (FT232R USB UART)"
    std::string serialNumber;        // trailing blanks cut
    const HistoryEntry* kept{};      // the newest entry of this instrument, or none
    const HistoryNote* clockRead{};  // its newest note of a clock read, or none
    CalendarTime now;                // this computer's local time
};

struct OverviewRow {
    std::string caption;  // "Clock"
    std::string value;    // "2025-06-15 09:32:13 when read, 2 min 13 s ahead of this computer"
};

// Where a warning is mended.
enum class OverviewPlace { Clock, ScheduledStart, KxSettings, QvSettings, Calibration };

struct OverviewWarning {
    std::string text;
    OverviewPlace place;
};

struct InstrumentOverview {
    std::string headline;
    std::vector<OverviewRow> rows;
    std::vector<OverviewWarning> warnings;
};

InstrumentOverview describeInstrument(const OverviewInput& input);

// A clock off by more than this many seconds is worth a warning.
inline constexpr long long kClockDriftWarning = 60;

// "2 min 13 s", "45 s", "1 h 5 min", "3 days 2 h"; `seconds` 0 or more.
std::string durationWords(long long seconds);
// The instrument's clock against this computer's: "2 min 13 s ahead", "45 s behind",
// "within 1 s".
std::string clockDriftWords(long long instrumentMinusComputer);
// "2 min 13 s ahead of this computer", "45 s behind this computer", "within 1 s of this
// computer".
std::string driftFromComputerWords(long long instrumentMinusComputer);
// "at 10:32 today", "at 10:32 on 2026-12-07".
std::string keptWhenWords(const CalendarTime& kept, const CalendarTime& now);
// The clock or the scheduled start of a block text as a calendar time; false when its bytes
// are no date and time.
bool blockClockTime(const char* text, CalendarTime& time);
bool blockStartTime(const char* text, CalendarTime& time);
// Seconds from 2000-01-01 00:00:00, for differences of times of one calendar.
long long secondsSince2000(const CalendarTime& time);
