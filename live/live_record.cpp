// Live record values. The arithmetic keeps the precision the chart has always shown:
// counts times the full scale in double, the result stored as a float.
#include "live/live_record.h"

#include <cstdlib>
#include <cstring>

namespace {
constexpr double kFullScaleCounts = 4095.0;  // counts over the whole gauge length
constexpr double kSecondValueUnit = 0.0625;  // the second value counts sixteenths
}  // namespace

bool parseLiveRecord(const char* text, int length, float fullScale, LiveRecord& record) {
    if (length != kOneValueRecordLength && length != kTwoValueRecordLength)
        return false;
    // atoi needs a terminator; the record is copied so that the caller's text need not
    // carry one.
    char line[kTwoValueRecordLength + 1];
    std::memcpy(line, text, static_cast<size_t>(length));
    line[length] = '\0';
    record.counts = std::atoi(line);
    record.plotted =
        static_cast<float>(record.counts * static_cast<double>(fullScale) / kFullScaleCounts);
    record.hasSecond = length == kTwoValueRecordLength;
    record.counts2 = record.hasSecond ? std::atoi(line + kSecondValueOffset) : 0;
    record.second = record.hasSecond ? static_cast<float>(record.counts2 * kSecondValueUnit) : 0.0f;
    return true;
}
