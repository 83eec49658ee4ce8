// Calendar conversions on POSIX systems: the re-entrant localtime_r and gmtime_r.
#include "toolkit/platform/calendar_tm.h"

std::tm localParts(std::time_t seconds) {
    std::tm parts{};
    localtime_r(&seconds, &parts);
    return parts;
}

std::tm utcParts(std::time_t seconds) {
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    return parts;
}
