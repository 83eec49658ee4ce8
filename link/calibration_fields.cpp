// The calibration fields in the block text, written byte by byte with their commas.
#include "link/calibration_fields.h"

#include "link/parameter_block.h"

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
