// What both families of systems share: std::tm to and from CalendarTime, and mktime.
#include "toolkit/platform/calendar.h"

#include "toolkit/platform/calendar_tm.h"

CalendarTime calendarOf(const std::tm& parts) {
    CalendarTime time;
    time.year = parts.tm_year + 1900;
    time.month = parts.tm_mon + 1;
    time.day = parts.tm_mday;
    time.hour = parts.tm_hour;
    time.minute = parts.tm_min;
    time.second = parts.tm_sec;
    time.dayOfWeek = parts.tm_wday;
    return time;
}

std::tm tmOf(const CalendarTime& time) {
    std::tm parts{};
    parts.tm_year = time.year - 1900;
    parts.tm_mon = time.month - 1;
    parts.tm_mday = time.day;
    parts.tm_hour = time.hour;
    parts.tm_min = time.minute;
    parts.tm_sec = time.second;
    parts.tm_isdst = -1;  // the system decides whether summer time was in force
    return parts;
}

double WallTimeOfLocal(const CalendarTime& local) {
    std::tm parts = tmOf(local);
    return static_cast<double>(std::mktime(&parts));
}
