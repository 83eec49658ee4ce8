// The calibration fields in the block text, written byte by byte with their commas.
#include "link/calibration_fields.h"

#include <algorithm>

#include "link/parameter_block.h"

namespace {

// Calls `take` with every length and setting of both tables.
template <typename Take>
void forEachTableCell(Take take) {
    for (const LengthTable* table : {&calibrationLengthTable, &defaultLengthTable})
        for (const LengthRow& row : table->rows)
            for (const LengthCell& cell : row.types)
                if (cell.present)
                    take(row.length, cell.setting);
}

}  // namespace

int defaultZero(int gaugeType) {
    switch (gaugeType) {
        case 0:
            return -500;
        case 1:
            return -1900;
        case 2:
            return -820;
        default:
            return 0;
    }
}

int lengthTenths(float gaugeLength) {
    return static_cast<int>(10 * gaugeLength);
}

void writeCalibrationFields(char* blockText, const LengthSetting& setting, int newGain, int newZero,
                            float gaugeLength) {
    putBlockCell(blockText, kScaleTrimByte, setting.scaleTrim);
    putBlockCell(blockText, kRangeCodeByte, setting.rangeCode);
    putBlockWord(blockText, kGainByte, newGain);
    putBlockWord(blockText, kZeroByte, newZero);
    putBlockCell(blockText, kLengthTenthsByte, lengthTenths(gaugeLength) & 0xFF);
}

ScaleTrimRange tableScaleTrims() {
    ScaleTrimRange range{255, 0};
    forEachTableCell([&](float, const LengthSetting& setting) {
        range.least = std::min<int>(range.least, setting.scaleTrim);
        range.most = std::max<int>(range.most, setting.scaleTrim);
    });
    return range;
}

bool isTableRangeCode(int rangeCode) {
    bool found = false;
    forEachTableCell(
        [&](float, const LengthSetting& setting) { found |= setting.rangeCode == rangeCode; });
    return found;
}

bool isTableLengthTenths(int tenths) {
    bool found = false;
    forEachTableCell(
        [&](float length, const LengthSetting&) { found |= lengthTenths(length) == tenths; });
    return found;
}
