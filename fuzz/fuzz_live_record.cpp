// Fuzzes the live record parse. Arbitrary characters of any length must be refused or
// parsed without reading past the record, and what is parsed is a reading (each value 0
// to 4095); a record as the instrument formats it must give back exactly its counts and
// sixteenths when they are readings, and be refused when they are not.
//
// Input: byte 0 is the gauge length in tenths (as the settings block keeps it), byte 1
// picks raw characters (even) or the instrument's own format (odd); the rest is the raw
// record, or the counts and sixteenths to format.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_check.h"
#include "link/live_record.h"
#include "sim/model/gauge.h"

namespace {

constexpr double kFullScaleCounts = 4095.0;

// The record on the heap with nothing behind it, so that reading past its end is caught.
bool parseExact(const char* bytes, size_t length, float fullScale, LiveRecord& record) {
    auto copy = std::make_unique<char[]>(length);
    std::memcpy(copy.get(), bytes, length);
    return parseLiveRecord(copy.get(), static_cast<int>(length), fullScale, record);
}

void rawRecord(const uint8_t* data, size_t size, float fullScale) {
    LiveRecord record;
    record.plotted = -1.5f;
    const bool parsed = parseExact(reinterpret_cast<const char*>(data), size, fullScale, record);
    const bool isRecord = size == kOneValueRecordLength || size == kTwoValueRecordLength;
    FUZZ_CHECK(!parsed || isRecord);
    if (!parsed) {
        FUZZ_CHECK(record.plotted == -1.5f && !record.hasSecond);
        return;
    }
    FUZZ_CHECK(record.hasSecond == (size == kTwoValueRecordLength));
    FUZZ_CHECK(record.counts >= 0 && record.counts <= kHighestCount);
    FUZZ_CHECK(record.plotted >= 0.0f && record.plotted <= fullScale * 1.0001f);
    if (record.hasSecond)
        FUZZ_CHECK(record.counts2 >= 0 && record.counts2 <= kHighestCount);
    else
        FUZZ_CHECK(record.second == 0.0f);
}

void formattedRecord(FuzzedDataProvider& in, float fullScale) {
    const bool twoValues = in.ConsumeBool();
    const int counts = in.ConsumeIntegral<int>();
    const int sixteenths = in.ConsumeIntegralInRange(-999, 9999);
    const std::string text = sim::liveRecord(counts, sixteenths, twoValues);
    const size_t expected = twoValues ? kTwoValueRecordLength : kOneValueRecordLength;
    if (text.size() != expected)
        return;  // counts too wide for the record: the tool reads it as misaligned text
    const auto reading = [](int value) { return value >= 0 && value <= kHighestCount; };
    LiveRecord record;
    const bool parsed = parseExact(text.data(), text.size(), fullScale, record);
    FUZZ_CHECK(parsed == (reading(counts) && (!twoValues || reading(sixteenths))));
    if (!parsed)
        return;
    FUZZ_CHECK(record.plotted ==
               static_cast<float>(counts * static_cast<double>(fullScale) / kFullScaleCounts));
    FUZZ_CHECK(record.hasSecond == twoValues);
    if (twoValues)
        FUZZ_CHECK(record.second == static_cast<float>(sixteenths * 0.0625));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const float fullScale = static_cast<float>(data[0] * 0.1);
    if (data[1] % 2 == 0) {
        rawRecord(data + 2, size - 2, fullScale);
    } else {
        FuzzedDataProvider in(data + 2, size - 2);
        formattedRecord(in, fullScale);
    }
    return 0;
}
