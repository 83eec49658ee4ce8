// Calendar dates and times of a wall time (seconds since 1970-01-01 00:00 UTC), in this
// computer's time zone or in UTC, and the wall time of a local date and time. The system's
// conversions differ between families of systems; they live in the _posix and _windows
// twins of this module.
#pragma once

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
