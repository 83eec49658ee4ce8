// The instrument's real-time clock: a calendar that runs with model time and shows itself
// as the seven BCD bytes the block carries (bytes 11 to 17).
//
// The clock is a count of seconds since 2000-01-01 00:00:00 that advances one for one with
// model time. The day of the week is kept apart from the date, as clock chips do: it is
// whatever was last set and steps on at each midnight.
#pragma once

#include <array>
#include <cstdint>

namespace sim {

// Seconds, minutes, hours, day of week (0 = Sunday .. 6), day of month, month, year within
// the century: two BCD digits each.
using ClockBytes = std::array<uint8_t, 7>;

// The value of two BCD digits, or -1 when the byte is not two decimal digits.
int bcdValue(uint8_t byte);
// Two BCD digits for 0..99.
uint8_t toBcd(int value);

class RealTimeClock {
  public:
    // Reads 2026-12-07 12:00:00, a Monday, at model time 0.
    RealTimeClock();

    // Seconds since 2000-01-01 00:00:00 at model time t.
    double secondsAt(double t) const;
    ClockBytes bytesAt(double t) const;

    // Takes the time in `bytes` as the time at model time t. Returns false, and keeps its
    // own time, when they are not a valid date and time of the years 2000 to 2099. A day of
    // week outside 0..6 is replaced by the calendar's.
    bool set(const ClockBytes& bytes, double t);

  private:
    double secondsAtZero_;
    int weekdayOffset_;  // day of week = (days since 2000-01-01 + offset) mod 7
};

}  // namespace sim
