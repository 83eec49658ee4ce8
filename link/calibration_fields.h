// Writing the calibration fields into the block text: scaleTrim (byte 1), rangeCode
// (byte 2), gain (bytes 3-4), zero (bytes 5-6) and lengthTenths (byte 24). Every other
// character of the text is left as it was; the checksum and upper-casing follow.
//
// Also what each of those fields can hold, as the calibration actions would write it: the
// scale trims and range codes of the length tables, the tenths of a table length, a gain
// that the next calibration can divide by.
#pragma once

#include "link/length_tables.h"

inline constexpr int kDefaultGain = 4096;
// The instrument reads gain and zero as signed 16-bit values; a gain below 1 would leave
// the next two-point calibration dividing by zero or turning the scale over.
inline constexpr int kLeastGain = 1;
inline constexpr int kMostGain = 32767;
inline constexpr int kLeastZero = -32768;
inline constexpr int kMostZero = 32767;

// The least and the largest scale trim of either length table, any type.
struct ScaleTrimRange {
    int least;
    int most;
};
ScaleTrimRange tableScaleTrims();
// Whether a range code, or a gauge length in tenths, is one that a length table writes.
bool isTableRangeCode(int rangeCode);
bool isTableLengthTenths(int tenths);

// The zero a default calibration writes for a gauge type; 0 for a type without one.
int defaultZero(int gaugeType);

// trunc(10 x gaugeLength): the gauge length in tenths, as byte 24 keeps it.
int lengthTenths(float gaugeLength);

// Writes the fields in lower-case hex into `blockText` (the 129-character read form).
// Gain and zero keep the low 16 bits of their two's-complement form.
void writeCalibrationFields(char* blockText, const LengthSetting& setting, int newGain, int newZero,
                            float gaugeLength);
