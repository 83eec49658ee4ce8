// Gain and zero arithmetic. The precision follows the instrument's long-standing practice,
// so that a calibration gives the same counts as it always has: the fractions, the gain
// factor and the zero shift are kept as single-precision floats, the slope and the final
// products and sums are double, and counts are truncated toward zero.
#include "link/gain_zero.h"

#include <cmath>
#include <cstdint>

#include "link/parameter_block.h"

namespace {

constexpr double kFullScaleCounts = 4095;

// Truncation toward zero through a 64-bit integer, keeping its low 32 bits; false when
// the value is not finite or does not fit 32 bits, since those counts mean nothing.
bool truncateToCount(double value, int& count) {
    if (!std::isfinite(value))
        return false;
    const double whole = std::trunc(value);
    if (whole < INT32_MIN || whole > INT32_MAX)
        return false;
    const int64_t wide = static_cast<int64_t>(whole);
    count = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(wide)));
    return true;
}

GainZeroResult refused(GainZeroStatus status) {
    GainZeroResult result;
    result.status = status;
    return result;
}

}  // namespace

GainZero decodeGainZero(const char* blockText) {
    GainZero present;
    present.gain = getBlockWord(blockText, kGainByte);
    present.zero = getBlockWord(blockText, kZeroByte);
    return present;
}

GainZeroResult computeGainZero(float gaugeLength, float levelA, float levelB, float readingA,
                               float readingB, int oldGain, int oldZero) {
    const float fractionA = levelA / gaugeLength / 1000;
    const float fractionB = levelB / gaugeLength / 1000;
    if (fractionA == fractionB)
        return refused(GainZeroStatus::EqualLevels);
    if (readingA == readingB)
        return refused(GainZeroStatus::EqualReadings);
    if (oldGain == 0)
        return refused(GainZeroStatus::ZeroOldGain);

    const double readingSpan = static_cast<double>(readingB) - readingA;
    const double fractionSpan = static_cast<double>(fractionB) - fractionA;
    const double slope = readingSpan / fractionSpan;
    const float gainFactor = static_cast<float>(kFullScaleCounts / slope);
    const float zeroShift = static_cast<float>((fractionA * readingSpan / fractionSpan - readingA) *
                                               (kFullScaleCounts / oldGain));

    GainZeroResult result;
    if (!truncateToCount(static_cast<double>(oldGain) * gainFactor, result.newGain))
        return refused(GainZeroStatus::BadGain);
    if (!truncateToCount(static_cast<double>(oldZero) + zeroShift, result.newZero))
        return refused(GainZeroStatus::BadZero);
    return result;
}

const char* gainZeroRefusalText(GainZeroStatus status) {
    switch (status) {
        case GainZeroStatus::Ok:
            return nullptr;
        case GainZeroStatus::EqualLevels:
            return "calibration not written: level A and level B must differ";
        case GainZeroStatus::EqualReadings:
            return "calibration not written: reading A and reading B must differ";
        case GainZeroStatus::ZeroOldGain:
            return "calibration not written: the instrument's present gain is 0";
        case GainZeroStatus::BadGain:
            return "calibration not written: these readings give no usable gain";
        case GainZeroStatus::BadZero:
            return "calibration not written: these readings give no usable zero";
    }
    return nullptr;
}
