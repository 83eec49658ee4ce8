#include "link/block_fields.h"

#include <cctype>
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
using K = FieldKind;
constexpr FieldSetting kNotSet{};
constexpr FieldSetting byteSetting(int index, int max = 255) { return {index, 0, max}; }
constexpr FieldSetting flagSetting(int mask) { return {kFlagByte, mask, 1}; }

// The fields a command sets by name are those the kx and qv panels write: the setting
// bytes and the flag bits they show. The clock and the start have commands of their own;
// calibration goes through its tables.
const BlockFieldView kViews[] = {
    {"byte 0",               K::Text,   false, byte0,                            kNotSet},
    {"scale trim",           K::Number, false, byteValue<kScaleTrimByte>,        kNotSet},
    {"range code",           K::Number, false, byteValue<kRangeCodeByte>,        kNotSet},
    {"gain",                 K::Number, false, wordValue<kGainByte>,             kNotSet},
    {"zero",                 K::Number, false, wordValue<kZeroByte>,             kNotSet},
    {"setting byte 7",       K::Number, false, byteValue<kSettingByte7>,         byteSetting(kSettingByte7)},
    {"setting byte 8",       K::Number, false, byteValue<kSettingByte8>,         byteSetting(kSettingByte8)},
    {"setting byte 9",       K::Number, false, byteValue<kSettingByte9>,         byteSetting(kSettingByte9)},
    {"setting byte 10",      K::Number, false, byteValue<kSettingByte10>,        byteSetting(kSettingByte10)},
    {"clock",                K::Text,   true,  clockValue,                       kNotSet},
    {"scheduled start",      K::Text,   false, startValue,                       kNotSet},
    {"setting byte 23",      K::Number, false, byteValue<kSettingByte23>,        byteSetting(kSettingByte23, kSettingByte23Max)},
    {"gauge length",         K::Number, false, lengthValue,                      kNotSet},
    {"bytes 25 to 41",       K::Text,   false, bytes25To41,                      kNotSet},
    {"option bit 0",         K::Flag,   false, flagValue<kOptionBit0>,           flagSetting(kOptionBit0)},
    {"RS232 data flag",      K::Flag,   false, flagValue<kRs232DataFlag>,        flagSetting(kRs232DataFlag)},
    {"flag bit 2",           K::Flag,   false, flagValue<0x04>,                  kNotSet},
    {"clock set flag",       K::Flag,   true,  flagValue<kClockSetFlag>,         kNotSet},
    {"second channel flag",  K::Flag,   false, flagValue<kSecondChannelFlag>,    flagSetting(kSecondChannelFlag)},
    {"scheduled start flag", K::Flag,   false, flagValue<kScheduledStartFlag>,   flagSetting(kScheduledStartFlag)},
    {"option bit 6",         K::Flag,   false, flagValue<kOptionBit6>,           flagSetting(kOptionBit6)},
    {"flag bit 7",           K::Flag,   false, flagValue<0x80>,                  kNotSet},
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

namespace {

// Names compare without regard to case, and '_' or '-' stand for a blank.
char nameCharacter(char c) {
    return c == '_' || c == '-' ? ' '
                                : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (nameCharacter(a[i]) != nameCharacter(b[i]))
            return false;
    return true;
}

}  // namespace

std::string fieldNameKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) c = nameCharacter(c);
    return key;
}

const BlockFieldView* findBlockField(std::string_view name) {
    for (const BlockFieldView& view : kViews)
        if (sameName(view.name, name))
            return &view;
    return nullptr;
}

std::optional<int> parseFieldValue(const BlockFieldView& field, std::string_view text) {
    if (!field.settable())
        return std::nullopt;
    if (field.kind == FieldKind::Flag) {
        for (const char* on : {"on", "1", "yes", "true"})
            if (sameName(text, on))
                return 1;
        for (const char* off : {"off", "0", "no", "false"})
            if (sameName(text, off))
                return 0;
        return std::nullopt;
    }
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > field.setting.max)
        return std::nullopt;
    return value;
}

void putFieldValue(char* text, const BlockFieldView& field, int value) {
    const FieldSetting& s = field.setting;
    if (!field.settable())
        return;
    if (s.mask == 0) {
        putBlockByte(text, s.byte, value);
        return;
    }
    const int flags = getBlockByte(text, s.byte);
    putBlockByte(text, s.byte, value != 0 ? flags | s.mask : flags & ~s.mask);
}

std::string fieldValueRange(const BlockFieldView& field) {
    if (field.kind == FieldKind::Flag)
        return "on or off";
    return "0 to " + std::to_string(field.setting.max);
}
