// Calendar dates and times: of a wall time (seconds since 1970-01-01 00:00 UTC) in this
// computer's time zone or in UTC, the wall time of a local date and time, this computer's
// local time now (behind a seam that tests fix), and the arithmetic of the Gregorian
// calendar that dates are checked and moved with. The system's conversions differ between
// families of systems; they live in the _posix and _windows twins of this module.
#pragma once

#include <functional>
#include <optional>
#include <string>

struct CalendarTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to the month's last day
    int hour = 0;
    int minute = 0;
    int second = 0;     // 0 to 60: a leap second is the minute's 61st
    int dayOfWeek = 4;  // 0 = Sunday; 1970-01-01 was a Thursday
};

// The local date and time at `wallTime`; its whole seconds are taken.
CalendarTime LocalCalendarTime(double wallTime);
// The date and time at `wallTime` in UTC; its whole seconds are taken.
CalendarTime UtcCalendarTime(double wallTime);
// The wall time of a local date and time (the day of the week is not looked at); a time
// that a change of clocks skips or repeats is taken as the system takes it.
double WallTimeOfLocal(const CalendarTime& local);

// This computer's local time now, a leap second kept in its minute (second 59), or the
// time the installed clock gives.
CalendarTime ComputerLocalTime();
// nullptr (an empty function) restores this computer's own clock.
void SetComputerLocalTime(std::function<CalendarTime()> clock);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);         // 0 for a month outside 1 to 12
int DayOfWeek(int year, int month, int day);  // 0 = Sunday
const char* MonthName(int month);             // "January" ... ; "" outside 1 to 12
// `time` moved on by `hours` (0 or more), across days, months and years, with its day of
// the week.
CalendarTime AddHours(CalendarTime time, int hours);
// Minutes from 2000-01-01 00:00, for ordering times of the same calendar.
long long MinutesSince2000(const CalendarTime& time);
// "2026-12-07 12:00:00" and "2026-12-07 12:00".
std::string FormatDateTime(const CalendarTime& time);
std::string FormatDateMinute(const CalendarTime& time);
// "YYYY-MM-DD HH:MM:SS" (with seconds) or "YYYY-MM-DD HH:MM" (without) as a calendar time
// with its day of the week; nothing when the text has another shape or names a date or a
// time that does not exist (2027-02-29, 24:00).
std::optional<CalendarTime> ParseDateTime(const std::string& text, bool withSeconds);
