// Live record values. The arithmetic keeps the precision the chart has always shown:
// counts times the full scale in double, the result stored as a float.
#include "link/live_record.h"

namespace {
constexpr double kFullScaleCounts = 4095.0;  // counts over the whole gauge length
constexpr double kSecondValueUnit = 0.0625;  // the second value counts sixteenths
}  // namespace

bool parseLiveRecord(const char* text, int length, float fullScale, LiveRecord& record) {
    RecordValues values;
    if (!readRecordValues(text, length, values))
        return false;
    record.counts = values.counts;
    record.plotted =
        static_cast<float>(record.counts * static_cast<double>(fullScale) / kFullScaleCounts);
    record.hasSecond = values.hasSecond;
    record.counts2 = values.hasSecond ? values.counts2 : 0;
    record.second = record.hasSecond ? static_cast<float>(record.counts2 * kSecondValueUnit) : 0.0f;
    return true;
}
