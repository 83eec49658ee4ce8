#include "link/record_csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "link/live_record.h"
#include "toolkit/platform/calendar.h"

namespace {

// A line is put together in place, then made a string once: appending to a string one
// character at a time was half of what a line cost.
struct Line {
    // Room for the widest line: the time (63 characters at most), a double and two floats as
    // wide as they get in fixed notation (314 and 45 characters), three integers and the
    // commas come to under 500.
    char text[1024];
    char* end = text;
    void put(char c) { *end++ = c; }
    void put(const char* from, const char* to) {
        while (from != to) *end++ = *from++;
    }
};

// "2026-12-08T14:05:00.125Z": UTC, to the millisecond. The date and time up to the
// second are worked out once a second, not once a record.
void putIsoTime(Line& out, double wallTime) {
    static long long cachedSecond = -1;
    static char cachedPrefix[64] = {};
    static int cachedLength = 0;
    const long long millis = static_cast<long long>(wallTime * 1000.0 + 0.5);
    const long long second = millis / 1000;
    if (second != cachedSecond) {
        const CalendarTime utc = UtcCalendarTime(static_cast<double>(second));
        const int length =
            std::snprintf(cachedPrefix, sizeof cachedPrefix, "%04d-%02d-%02dT%02d:%02d:%02d",
                          utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second);
        // What was written, whatever a calendar far off would have needed.
        cachedLength = std::clamp(length, 0, static_cast<int>(sizeof cachedPrefix) - 1);
        cachedSecond = second;
    }
    const int fraction = static_cast<int>(millis % 1000);
    out.put(cachedPrefix, cachedPrefix + cachedLength);
    out.put('.');
    out.put(static_cast<char>('0' + fraction / 100));
    out.put(static_cast<char>('0' + fraction / 10 % 10));
    out.put(static_cast<char>('0' + fraction % 10));
    out.put('Z');
}

// What "%.<decimals>f" prints. printf's formatting of floating point numbers was a fifth
// of the live view's cost at the line rate, and std::to_chars's with a precision is still a
// tenth of a record's work. A run's numbers have a few digits before the point: scaled to
// whole units of the last decimal, they print as an integer. That is exact unless the
// scaled value lies so near a half that the scaling's own rounding could tip it; those, and
// numbers too large to scale exactly, go through std::to_chars.
void putFixed(Line& out, double value, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    if (decimals >= 0 && decimals <= 4 && std::abs(value) < 1e9) {
        const double scaled = std::abs(value) * kScale[decimals];
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        // The product's rounding is at most half a unit in its last place.
        if (std::abs(fraction - 0.5) > scaled * 0x1p-52 + 0x1p-60) {
            auto units = static_cast<unsigned long long>(whole) + (fraction > 0.5 ? 1 : 0);
            char digits[24];
            int n = 0;
            do {
                digits[n++] = static_cast<char>('0' + units % 10);
                units /= 10;
            } while (units > 0 || n <= decimals);
            if (std::signbit(value))
                out.put('-');
            while (n > decimals) out.put(digits[--n]);
            if (decimals > 0)
                out.put('.');
            while (n > 0) out.put(digits[--n]);
            return;
        }
    }
    // The widest double in fixed notation, with its decimals, fits in what the line has
    // left for it.
    out.end = std::to_chars(out.end, out.text + sizeof out.text, value, std::chars_format::fixed,
                            decimals)
                  .ptr;
}

void putInteger(Line& out, int value) {
    out.end = std::to_chars(out.end, out.text + sizeof out.text, value).ptr;
}

}  // namespace

std::string csvHeader(bool twoValues) {
    return twoValues ? "time_iso,elapsed_s,counts,level,counts2,value2,stretch\n"
                     : "time_iso,elapsed_s,counts,level,stretch\n";
}

std::string csvLine(const LiveRecord& record, double elapsed, double wallTime, int stretch) {
    Line line;
    putIsoTime(line, wallTime);
    line.put(',');
    putFixed(line, elapsed, 3);
    line.put(',');
    putInteger(line, record.counts);
    line.put(',');
    putFixed(line, static_cast<double>(record.plotted), 4);
    if (record.hasSecond) {
        line.put(',');
        putInteger(line, record.counts2);
        line.put(',');
        putFixed(line, static_cast<double>(record.second), 4);
    }
    line.put(',');
    putInteger(line, stretch);
    line.put('\n');
    return std::string(line.text, line.end);
}
