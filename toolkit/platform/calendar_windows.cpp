// Calendar conversions on Windows: the C run-time's localtime_s and gmtime_s (arguments in
// the opposite order to C11's) on its 64-bit time.
#include "toolkit/platform/calendar_tm.h"

std::tm localParts(std::time_t seconds) {
    std::tm parts{};
    localtime_s(&parts, &seconds);
    return parts;
}

std::tm utcParts(std::time_t seconds) {
    std::tm parts{};
    gmtime_s(&parts, &seconds);
    return parts;
}
