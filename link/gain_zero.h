// The instrument's gain and zero: decoding them from the block text and the two-point
// computation of new ones. No serial traffic and no panels here.
//
// Counts run 0 to 4095 over the whole gauge; a calibration scales the gain so that the
// measured slope becomes 4095 counts per gauge length and moves the zero so that the
// reading at the bottom of the gauge becomes 0.
#pragma once

struct GainZero {
    int gain = 0;
    int zero = 0;
};

// Bytes 3-4 and 5-6 of the block text, each read as a signed 16-bit value.
GainZero decodeGainZero(const char* blockText);

enum class GainZeroStatus {
    Ok,
    EqualLevels,    // the two reference levels give the same fraction of the gauge
    EqualReadings,  // the readings show no slope
    ZeroOldGain,    // the present gain is 0
    BadGain,        // the new gain is not finite or does not fit 32 bits
    BadZero,        // the new zero is not finite or does not fit 32 bits
};

struct GainZeroResult {
    GainZeroStatus status = GainZeroStatus::Ok;
    int newGain = 0;
    int newZero = 0;
};

// New gain and zero from two reference points. Levels are in thousandths of the length
// unit, readings in counts. Input that would divide by zero, or a result that is not a
// finite 32-bit count, is refused (status not Ok; newGain and newZero are then 0).
GainZeroResult computeGainZero(float gaugeLength, float levelA, float levelB, float readingA,
                               float readingB, int oldGain, int oldZero);

// Why a computation was refused, in words for the message panel; nullptr for Ok.
const char* gainZeroRefusalText(GainZeroStatus status);
