// The calibration fields in the block text. Each value goes through a small bounded
// buffer, and only the characters the field owns are copied into the text.
#include "calibration/calibration_fields.h"

#include <cstdint>
#include <cstdio>

namespace {

// "0%1x," for 0 to 15, "%2x," above: two lower-case digits and a comma at `position`.
void putByteWithComma(char* text, int position, unsigned value) {
    value &= 0xFFu;
    char digits[8];
    std::snprintf(digits, sizeof digits, value <= 15 ? "0%1x," : "%2x,", value);
    text[position] = digits[0];
    text[position + 1] = digits[1];
    text[position + 2] = digits[2];
}

// The low 16 bits of a 32-bit count as four digits: digits 1-2 at `highPosition`, 3-4 at
// `highPosition` + 3, with the commas behind both pairs.
void putWord(char* text, int highPosition, int value) {
    const unsigned word = static_cast<uint32_t>(value) & 0xFFFFu;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04x", word);
    text[highPosition] = digits[0];
    text[highPosition + 1] = digits[1];
    text[highPosition + 2] = ',';
    text[highPosition + 3] = digits[2];
    text[highPosition + 4] = digits[3];
    text[highPosition + 5] = ',';
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
    putByteWithComma(blockText, 3, setting.scaleTrim);
    putByteWithComma(blockText, 6, setting.rangeCode);
    putWord(blockText, 9, newGain);
    putWord(blockText, 15, newZero);
    putByteWithComma(blockText, 72, static_cast<unsigned>(lengthTenths(gaugeLength)));
}
