#include "toolkit/platform/durations.h"

#include <cmath>
#include <cstdio>

#include "toolkit/platform/calendar.h"

std::string DurationWords(double seconds) {
    const long long whole = seconds > 0 ? static_cast<long long>(std::llround(seconds)) : 0;
    char text[48];
    if (whole < 60)
        std::snprintf(text, sizeof text, "%lld s", whole);
    else if (whole < 3600)
        std::snprintf(text, sizeof text, "%lld min %02lld s", whole / 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld h %02lld min", whole / 3600, whole % 3600 / 60);
    return text;
}

std::string LocalTimeOfDay(double wallTime) {
    const CalendarTime local = LocalCalendarTime(wallTime);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.hour, local.minute, local.second);
    return text;
}
