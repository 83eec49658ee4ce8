// The calibration and default length tables, row by row as the instrument's scale
// settings were specified for each gauge type.
#include "link/length_tables.h"

#include <cmath>

namespace {

constexpr LengthCell cell(int scaleTrim, int rangeCode) {
    return {true, {static_cast<uint8_t>(scaleTrim), static_cast<uint8_t>(rangeCode)}};
}
constexpr LengthCell none{};

constexpr LengthRow kCalibrationRows[] = {
    {0.25f, {cell(223, 3), cell(163, 3), cell(174, 2)}},
    {0.5f, {cell(223, 2), cell(163, 2), cell(174, 1)}},
    {1.0f, {cell(223, 1), cell(163, 1), cell(174, 0)}},
    {1.5f, {cell(148, 1), cell(109, 1), cell(233, 8)}},
    {2.0f, {cell(223, 0), cell(163, 0), cell(174, 8)}},
    {2.5f, {cell(178, 0), cell(131, 0), cell(140, 8)}},
    {3.0f, {cell(148, 0), cell(109, 0), cell(116, 8)}},
    {3.5f, {cell(254, 8), none, cell(100, 8)}},
    {4.0f, {cell(223, 8), none, cell(87, 8)}},
    {4.5f, {cell(198, 8), none, cell(78, 8)}},
    {5.0f, {cell(178, 8), none, cell(70, 8)}},
    {5.5f, {none, none, cell(63, 8)}},
    {6.0f, {none, none, cell(58, 8)}},
    {6.5f, {none, none, cell(54, 8)}},
    {7.0f, {none, none, cell(50, 8)}},
    {7.5f, {none, none, cell(47, 8)}},
    {8.0f, {none, none, cell(44, 8)}},
    {8.5f, {none, none, cell(41, 8)}},
    {9.0f, {none, none, cell(39, 8)}},
    {9.5f, {none, none, cell(37, 8)}},
    {10.0f, {none, none, cell(35, 8)}},
    {10.5f, {none, none, cell(33, 8)}},
    {11.0f, {none, none, cell(32, 8)}},
};

constexpr LengthRow kDefaultRows[] = {
    {0.25f, {cell(223, 3), cell(157, 3), cell(199, 2)}},
    {0.5f, {cell(223, 2), cell(157, 2), cell(199, 1)}},
    {1.0f, {cell(223, 1), cell(157, 1), cell(199, 0)}},
    {1.5f, {cell(148, 1), cell(105, 1), cell(133, 0)}},
    {2.0f, {cell(223, 0), none, cell(199, 8)}},
    {2.5f, {cell(178, 0), none, cell(159, 8)}},
    {3.0f, {cell(148, 0), none, cell(133, 8)}},
    {3.5f, {cell(254, 8), none, cell(114, 8)}},
    {4.0f, {cell(223, 8), none, cell(100, 8)}},
    {4.5f, {cell(198, 8), none, cell(88, 8)}},
    {5.0f, {cell(178, 8), none, cell(80, 8)}},
    {5.5f, {none, none, cell(72, 8)}},
    {6.0f, {none, none, cell(66, 8)}},
    {6.5f, {none, none, cell(61, 8)}},
    {7.0f, {none, none, cell(57, 8)}},
    {7.5f, {none, none, cell(53, 8)}},
    {8.0f, {none, none, cell(50, 8)}},
    {8.5f, {none, none, cell(47, 8)}},
    {9.0f, {none, none, cell(44, 8)}},
    {9.5f, {none, none, cell(42, 8)}},
    {10.0f, {none, none, cell(40, 8)}},
    {10.5f, {none, none, cell(38, 8)}},
    {11.0f, {none, none, cell(36, 8)}},
};

}  // namespace

const LengthTable calibrationLengthTable{kCalibrationRows};
const LengthTable defaultLengthTable{kDefaultRows};

bool isKnownGaugeType(int gaugeType) {
    return gaugeType >= 0 && gaugeType < kGaugeTypes;
}

std::optional<LengthSetting> lookupLengthSetting(const LengthTable& table, int gaugeType,
                                                 float gaugeLength) {
    if (!isKnownGaugeType(gaugeType))
        return std::nullopt;
    for (const LengthRow& row : table.rows) {
        if (row.length == gaugeLength) {
            const LengthCell& found = row.types[gaugeType];
            if (!found.present)
                return std::nullopt;
            return found.setting;
        }
    }
    return std::nullopt;
}

int wholeGaugeLength(float gaugeLength) {
    // Far beyond any gauge; keeps the conversion defined for whatever a control holds.
    constexpr float kLimit = 1e6f;
    if (!std::isfinite(gaugeLength))
        return 0;
    if (gaugeLength > kLimit)
        return static_cast<int>(kLimit);
    if (gaugeLength < -kLimit)
        return -static_cast<int>(kLimit);
    return static_cast<int>(std::lround(gaugeLength));
}
