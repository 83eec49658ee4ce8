// The gauge's sensor and the block's calibration fields, turned into reported counts.
#include "sim/model/gauge.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim {
namespace {

constexpr double kRawSpan = 4125.0;
constexpr double kRawOffset = -12.5;
constexpr double kPhysicalLengthTenths = 20.0;

}  // namespace

int countsForLevel(double level, const Block& block) {
    const int lengthTenths = block[kLengthTenthsByte];
    const double lengthScale = lengthTenths == 0 ? 1.0 : kPhysicalLengthTenths / lengthTenths;
    const double raw = kRawSpan * level * lengthScale + kRawOffset;
    const double gain = signedWord(block, kGainByte);
    const double zero = signedWord(block, kZeroByte);
    const double counts = std::round((raw + zero) * gain / 4096.0);
    return static_cast<int>(std::clamp(counts, 0.0, 4095.0));
}

std::string liveRecord(int counts, int sixteenths, bool twoValues) {
    char text[16];
    if (twoValues) {
        std::snprintf(text, sizeof text, "%4d, %4d\r", counts, std::clamp(sixteenths, -999, 9999));
    } else {
        std::snprintf(text, sizeof text, "%4d\r", counts);
    }
    return text;
}

}  // namespace sim
