#include "link/block_fields.h"

#include <cstdio>

#include "link/date_bytes.h"
#include "link/parameter_block.h"

namespace {

std::string number(int value) {
    return std::to_string(value);
}

template <int Index>
std::string byteValue(const char* text) {
    return number(getBlockByte(text, Index));
}

template <int HighIndex>
std::string wordValue(const char* text) {
    return number(getBlockWord(text, HighIndex));
}

template <int Mask>
std::string flagValue(const char* text) {
    return (getBlockByte(text, kFlagByte) & Mask) != 0 ? "on" : "off";
}

int bcd(const char* text, int index) {
    return bcdPairValue(text + blockTextPosition(index));
}

// Bytes no panel owns, as the instrument holds them.
std::string hexBytes(const char* text, int first, int last) {
    std::string shown;
    for (int i = first; i <= last; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", getBlockByte(text, i));
        shown += (i > first ? " " : "") + std::string(pair);
    }
    return shown;
}

// A date whose bytes are not two decimal digits each is shown as the bytes it holds.
bool isDecimalDate(const char* text, int first, int last) {
    for (int i = first; i <= last; ++i) {
        const char* pair = text + blockTextPosition(i);
        if (pair[0] < '0' || pair[0] > '9' || pair[1] < '0' || pair[1] > '9')
            return false;
    }
    return true;
}

std::string notADate(const char* text, int first, int last) {
    return "not a date: " + hexBytes(text, first, last);
}

std::string clockValue(const char* text) {
    if (!isDecimalDate(text, kClockSecondsByte, kClockYearByte))
        return notADate(text, kClockSecondsByte, kClockYearByte);
    char shown[64];
    std::snprintf(shown, sizeof shown, "%04d-%02d-%02d %02d:%02d:%02d, day of week %d",
                  2000 + bcd(text, kClockYearByte), bcd(text, kClockMonthByte),
                  bcd(text, kClockDayOfMonthByte), bcd(text, kClockHoursByte),
                  bcd(text, kClockMinutesByte), bcd(text, kClockSecondsByte),
                  bcd(text, kClockDayOfWeekByte) + 1);
    return shown;
}

std::string startValue(const char* text) {
    bool stored = false;
    for (int i = kStartMinuteByte; i <= kStartYearByte; ++i) stored |= getBlockByte(text, i) != 0;
    if (!stored)
        return "none stored";
    if (!isDecimalDate(text, kStartMinuteByte, kStartYearByte))
        return notADate(text, kStartMinuteByte, kStartYearByte);
    char shown[32];
    std::snprintf(shown, sizeof shown, "%04d-%02d-%02d %02d:%02d", 2000 + bcd(text, kStartYearByte),
                  bcd(text, kStartMonthByte), bcd(text, kStartDayByte), bcd(text, kStartHourByte),
                  bcd(text, kStartMinuteByte));
    return shown;
}

std::string lengthValue(const char* text) {
    char shown[16];
    std::snprintf(shown, sizeof shown, "%.1f", getBlockByte(text, kLengthTenthsByte) / 10.0);
    return shown;
}

std::string byte0(const char* text) {
    return hexBytes(text, 0, 0);
}

std::string bytes25To41(const char* text) {
    return hexBytes(text, 25, 41);
}

// clang-format off
const BlockFieldView kViews[] = {
    {"byte 0",               false, byte0},
    {"scale trim",           false, byteValue<kScaleTrimByte>},
    {"range code",           false, byteValue<kRangeCodeByte>},
    {"gain",                 false, wordValue<kGainByte>},
    {"zero",                 false, wordValue<kZeroByte>},
    {"setting byte 7",       false, byteValue<kSettingByte7>},
    {"setting byte 8",       false, byteValue<kSettingByte8>},
    {"setting byte 9",       false, byteValue<kSettingByte9>},
    {"setting byte 10",      false, byteValue<kSettingByte10>},
    {"clock",                true,  clockValue},
    {"scheduled start",      false, startValue},
    {"setting byte 23",      false, byteValue<kSettingByte23>},
    {"gauge length",         false, lengthValue},
    {"bytes 25 to 41",       false, bytes25To41},
    {"option bit 0",         false, flagValue<kOptionBit0>},
    {"RS232 data flag",      false, flagValue<kRs232DataFlag>},
    {"flag bit 2",           false, flagValue<0x04>},
    {"clock set flag",       true,  flagValue<kClockSetFlag>},
    {"second channel flag",  false, flagValue<kSecondChannelFlag>},
    {"scheduled start flag", false, flagValue<kScheduledStartFlag>},
    {"option bit 6",         false, flagValue<kOptionBit6>},
    {"flag bit 7",           false, flagValue<0x80>},
};
// clang-format on

}  // namespace

std::span<const BlockFieldView> blockFieldViews() {
    return kViews;
}

std::vector<std::string> changedFields(const char* before, const char* after) {
    std::vector<std::string> changed;
    for (const BlockFieldView& view : kViews) {
        const std::string was = view.show(before), becomes = view.show(after);
        if (was != becomes)
            changed.push_back(std::string(view.name) + ": " + was + " → " + becomes);
    }
    return changed;
}
