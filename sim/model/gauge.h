// What the instrument reports for a level, and the text of its live records.
//
// The sensor is a 2.0-long gauge whose raw span is slightly off: uncalibrated it reads
//     raw(f) = 4125 * f * (20 / lengthTenths) - 12.5     (f: level as a fraction of the gauge)
// so 400 counts at f = 0.1 and 3700 at f = 0.9 with the block's length at 2.0. A configured
// length other than the physical one rescales the span, as the instrument spreads its
// 0..4095 scale over the length it is told (length 0 leaves the span alone).
// The block's gain and zero then act as
//     counts = clamp(round((raw + zero) * gain / 4096), 0, 4095)
// zero in raw counts, gain in 1/4096ths. The tool's two-point calibration assumes exactly
// this shape (newGain = oldGain * 4095 / slope, newZero = oldZero + (fA * slope - readingA)
// * 4095 / oldGain), so calibrating against readings taken here brings the readings to
// about 0 at the bottom and 4095 at the full length: from gain 4096 and zero 0, readings
// 400 and 3700 at 0.1 and 0.9 give gain 4066 and zero 12, after which f = 0 reads 0 and
// f = 1 reads 4094.
#pragma once

#include <string>

#include "sim/model/block.h"

namespace sim {

int countsForLevel(double level, const Block& block);

// One live record: "%4d\r" (5 characters) for one value; "%4d, %4d\r" (11 characters)
// for two, the second value starting at character 6 behind a comma and a blank.
std::string liveRecord(int counts, int sixteenths, bool twoValues);

}  // namespace sim
