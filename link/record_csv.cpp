#include "link/record_csv.h"

#include <cstdio>

#include "link/live_record.h"
#include "toolkit/platform/calendar.h"

namespace {

// "2026-12-08T14:05:00.125Z": UTC, to the millisecond. The date and time up to the
// second are worked out once a second, not once a record.
void formatIsoTime(char* out, size_t size, double wallTime) {
    static long long cachedSecond = -1;
    static char cachedPrefix[64] = {};
    const long long millis = static_cast<long long>(wallTime * 1000.0 + 0.5);
    const long long second = millis / 1000;
    if (second != cachedSecond) {
        const CalendarTime utc = UtcCalendarTime(static_cast<double>(second));
        std::snprintf(cachedPrefix, sizeof cachedPrefix, "%04d-%02d-%02dT%02d:%02d:%02d", utc.year,
                      utc.month, utc.day, utc.hour, utc.minute, utc.second);
        cachedSecond = second;
    }
    std::snprintf(out, size, "%s.%03dZ", cachedPrefix, static_cast<int>(millis % 1000));
}

}  // namespace

std::string csvHeader(bool twoValues) {
    return twoValues ? "time_iso,elapsed_s,counts,level,counts2,value2,stretch\n"
                     : "time_iso,elapsed_s,counts,level,stretch\n";
}

std::string csvLine(const LiveRecord& record, double elapsed, double wallTime, int stretch) {
    char time[96];
    formatIsoTime(time, sizeof time, wallTime);
    char line[224];
    if (record.hasSecond)
        std::snprintf(line, sizeof line, "%s,%.3f,%d,%.4f,%d,%.4f,%d\n", time, elapsed,
                      record.counts, static_cast<double>(record.plotted), record.counts2,
                      static_cast<double>(record.second), stretch);
    else
        std::snprintf(line, sizeof line, "%s,%.3f,%d,%.4f,%d\n", time, elapsed, record.counts,
                      static_cast<double>(record.plotted), stretch);
    return line;
}
