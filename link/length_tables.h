// The two length tables that turn a gauge type and a gauge length into the instrument's
// scale settings. The tables are data, used exactly as listed; neither is derived from the
// other. A length matches only when it equals a row's length exactly (every row length is
// exact in single precision).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

inline constexpr int kGaugeTypes = 3;  // types 0, 1 and 2

struct LengthSetting {
    uint8_t scaleTrim = 0;
    uint8_t rangeCode = 0;  // 0, 1, 2, 3 or 8
};

struct LengthCell {
    bool present = false;
    LengthSetting setting;
};

struct LengthRow {
    float length;
    LengthCell types[kGaugeTypes];
};

struct LengthTable {
    std::span<const LengthRow> rows;
};

extern const LengthTable calibrationLengthTable;  // the two-point calibration
extern const LengthTable defaultLengthTable;      // the default calibration

bool isKnownGaugeType(int gaugeType);

// The cell for (gaugeType, gaugeLength), or nothing for a dash, a length not in the table
// or a type without a column.
std::optional<LengthSetting> lookupLengthSetting(const LengthTable& table, int gaugeType,
                                                 float gaugeLength);

// The gauge length as the whole number that the length messages show: rounded to the
// nearest, halves away from zero, so that 3.5 shows as 4. Every length missing from a
// table lies beyond the last one present, and rounding up keeps the number shown beyond
// it too; truncation would name a length the table accepts (3.5 as 3 for type 1).
int wholeGaugeLength(float gaugeLength);
