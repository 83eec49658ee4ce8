// Writing the calibration fields into the block text: scaleTrim (byte 1), rangeCode
// (byte 2), gain (bytes 3-4), zero (bytes 5-6) and lengthTenths (byte 24). Every other
// character of the text is left as it was; the checksum and upper-casing follow.
#pragma once

#include "link/length_tables.h"

inline constexpr int kDefaultGain = 4096;

// The zero a default calibration writes for a gauge type; 0 for a type without one.
int defaultZero(int gaugeType);

// trunc(10 x gaugeLength): the gauge length in tenths, as byte 24 keeps it.
int lengthTenths(float gaugeLength);

// Writes the fields in lower-case hex into `blockText` (the 129-character read form).
// Gain and zero keep the low 16 bits of their two's-complement form.
void writeCalibrationFields(char* blockText, const LengthSetting& setting, int newGain, int newZero,
                            float gaugeLength);
