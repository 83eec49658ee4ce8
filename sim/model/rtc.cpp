// Calendar arithmetic for the instrument's clock (proleptic Gregorian, years 2000 to 2099).
#include "sim/model/rtc.h"

#include <cmath>

namespace sim {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// 2000-01-01 was a Saturday: 6 when Sunday is 0.
constexpr int kCalendarWeekdayOffset = 6;

// Days from 2000-01-01 to y-m-d (H. Hinnant's days-from-civil, shifted).
int64_t daysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 - 10957;  // 10957: 1970-01-01 to 2000-01-01
}

struct Civil {
    int year, month, day;
};

Civil civilFromDays(int64_t days2000) {
    const int64_t z = days2000 + 10957 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

int bcdValue(uint8_t byte) {
    const int high = byte >> 4, low = byte & 0x0F;
    if (high > 9 || low > 9)
        return -1;
    return high * 10 + low;
}

uint8_t toBcd(int value) {
    return static_cast<uint8_t>((value / 10) << 4 | (value % 10));
}

RealTimeClock::RealTimeClock()
    : secondsAtZero_(static_cast<double>(daysFromCivil(2026, 12, 7) * kSecondsPerDay + 12 * 3600)),
      weekdayOffset_(kCalendarWeekdayOffset) {}

double RealTimeClock::secondsAt(double t) const {
    return secondsAtZero_ + t;
}

ClockBytes RealTimeClock::bytesAt(double t) const {
    const auto whole = static_cast<int64_t>(std::floor(secondsAt(t)));
    const int64_t days = floorDiv(whole, kSecondsPerDay);
    const int64_t inDay = whole - days * kSecondsPerDay;
    const Civil date = civilFromDays(days);
    const int weekday = static_cast<int>(((days + weekdayOffset_) % 7 + 7) % 7);
    return {toBcd(static_cast<int>(inDay % 60)),
            toBcd(static_cast<int>(inDay / 60 % 60)),
            toBcd(static_cast<int>(inDay / 3600)),
            toBcd(weekday),
            toBcd(date.day),
            toBcd(date.month),
            toBcd(((date.year - 2000) % 100 + 100) % 100)};
}

bool RealTimeClock::set(const ClockBytes& bytes, double t) {
    const int sec = bcdValue(bytes[0]), min = bcdValue(bytes[1]), hour = bcdValue(bytes[2]);
    const int weekday = bcdValue(bytes[3]), day = bcdValue(bytes[4]), month = bcdValue(bytes[5]);
    const int year = bcdValue(bytes[6]);
    if (sec < 0 || sec > 59 || min < 0 || min > 59 || hour < 0 || hour > 23)
        return false;
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(2000 + year, month))
        return false;
    const int64_t days = daysFromCivil(2000 + year, month, day);
    secondsAtZero_ = static_cast<double>(days * kSecondsPerDay + hour * 3600 + min * 60 + sec) - t;
    weekdayOffset_ = weekday >= 0 && weekday <= 6 ? static_cast<int>(((weekday - days) % 7 + 7) % 7)
                                                  : kCalendarWeekdayOffset;
    return true;
}

}  // namespace sim
