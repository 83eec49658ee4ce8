// The values of one live record, taken from its characters alone: no serial traffic, no
// panels. A record is "%4d\r" (one value) or "%4d, %4d\r" (two values, the second from
// character 6); what counts as a reading is readRecordValues' rule (link/record_stream.h).
#pragma once

#include "link/record_stream.h"

struct LiveRecord {
    float plotted = 0;  // the first value in length units: counts x fullScale / 4095
    bool hasSecond = false;
    float second = 0;  // the second value, in sixteenths
    int counts = 0;    // the first value as sent
    int counts2 = 0;   // the second value as sent
};

// Parses the `length` characters at `text` (no terminator needed). A record that is not a
// reading, or a `length` other than the two record lengths, gives false and leaves
// `record` as it was.
bool parseLiveRecord(const char* text, int length, float fullScale, LiveRecord& record);
