// This computer's local time, behind a seam so that tests can fix it, and the calendar the
// clock and scheduled-start panels check their dates against.
//
// Day of the week as the instrument keeps it: 0 is Sunday, 6 is Saturday; the clock panel
// shows it one higher (1 = Sunday).
#pragma once

#include <functional>
#include <string>

struct LocalTime {
    int year = 2000;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to the month's last day
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 6;  // 0 = Sunday; 2000-01-01 was a Saturday
};

// The time now on this computer's clock, or on the one installed for tests.
LocalTime computerTime();
// nullptr (an empty function) restores this computer's own clock.
void setComputerClock(std::function<LocalTime()> clock);

bool isLeapYear(int year);
int daysInMonth(int year, int month);  // 0 for a month outside 1 to 12
int dayOfWeek(int year, int month, int day);
const char* monthName(int month);  // "January" ... ; "" outside 1 to 12

// `time` moved on by `hours` (0 or more), across days, months and years, with its day of
// the week.
LocalTime addHours(LocalTime time, int hours);

// Minutes from 2000-01-01 00:00, for ordering times of the same calendar.
long long minutesSince2000(const LocalTime& time);

// "2026-12-07 12:00:00" and "2026-12-07 12:00".
std::string formatDateTime(const LocalTime& time);
std::string formatDateMinute(const LocalTime& time);
