// Calendar conversions on POSIX systems: the re-entrant localtime_r and gmtime_r.
#include "toolkit/platform/calendar.h"

#include <ctime>

#include "toolkit/platform/calendar_tm.h"

CalendarTime LocalCalendarTime(double wallTime) {
    const std::time_t seconds = static_cast<std::time_t>(wallTime);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    return calendarOf(parts);
}

CalendarTime UtcCalendarTime(double wallTime) {
    const std::time_t seconds = static_cast<std::time_t>(wallTime);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    return calendarOf(parts);
}
