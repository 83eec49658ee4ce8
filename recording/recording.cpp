#include "recording/recording.h"

#include <algorithm>

#include "link/record_stream.h"

namespace {

constexpr double kSecondValueUnit = 0.0625;  // the second value counts sixteenths

// The records in [0, size) for which `before(i)` holds come first: where they end.
template <typename Before>
size_t partitionPoint(size_t size, Before before) {
    size_t low = 0, high = size;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (before(middle))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

}  // namespace

double Recording::timeOf(size_t i) const {
    return numbered ? static_cast<double>(times[i]) : times[i] / 1000.0;
}

size_t Recording::firstAtOrAfter(double t) const {
    return partitionPoint(size(), [&](size_t i) { return timeOf(i) < t; });
}

size_t Recording::firstAfter(double t) const {
    return partitionPoint(size(), [&](size_t i) { return timeOf(i) <= t; });
}

size_t Recording::stretchOf(size_t i) const {
    const auto after = std::upper_bound(stretchStarts.begin(), stretchStarts.end(), i);
    return after == stretchStarts.begin() ? 0
                                          : static_cast<size_t>(after - stretchStarts.begin()) - 1;
}

// As the live chart plots it: counts times the full scale (a float) in double, kept as a
// float.
float Recording::level(uint16_t c) const {
    return static_cast<float>(levelOf(c));
}

double Recording::levelOf(double c) const {
    return c * static_cast<double>(static_cast<float>(gaugeLength)) / kHighestCount;
}

float Recording::secondValue(size_t i) const {
    return static_cast<float>(counts2[i] * kSecondValueUnit);
}

size_t Recording::bytes() const {
    return times.bytes() + counts.bytes() + counts2.bytes() + levels.bytes() +
           rowOffsets.capacity() * sizeof(long long);
}
