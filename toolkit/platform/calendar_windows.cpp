// Calendar conversions on Windows: the C run-time's localtime_s and gmtime_s (arguments in
// the opposite order to C11's) on its 64-bit time.
#include "toolkit/platform/calendar.h"

#include <ctime>

#include "toolkit/platform/calendar_tm.h"

CalendarTime LocalCalendarTime(double wallTime) {
    const std::time_t seconds = static_cast<std::time_t>(wallTime);
    std::tm parts{};
    localtime_s(&parts, &seconds);
    return calendarOf(parts);
}

CalendarTime UtcCalendarTime(double wallTime) {
    const std::time_t seconds = static_cast<std::time_t>(wallTime);
    std::tm parts{};
    gmtime_s(&parts, &seconds);
    return calendarOf(parts);
}
