#include "link/write_rule.h"

#include <initializer_list>
#include <string_view>

#include "link/calibration_fields.h"
#include "link/date_bytes.h"
#include "link/parameter_block.h"
#include "link/reasons.h"
#include "toolkit/platform/calendar.h"

namespace {

std::string range(int least, int most) {
    return std::to_string(least) + " to " + std::to_string(most);
}

std::string byteField(std::string_view name, int byte) {
    return std::string(name) + " (byte " + std::to_string(byte) + ")";
}

bool changes(const char* readText, const char* text, int first, int last) {
    for (int i = first; i <= last; ++i)
        if (getBlockByte(readText, i) != getBlockByte(text, i))
            return true;
    return false;
}

// A date or time byte, already two decimal digits, as a number and as it stands.
int bcd(const char* text, int byte) {
    return bcdPairValue(text + blockTextPosition(byte));
}

std::string pair(const char* text, int byte) {
    return std::string(text + blockTextPosition(byte), 2);
}

struct DateBound {
    int byte;
    int least;
    int most;
    const char* takes = nullptr;  // words of its own, where the numbers alone would puzzle
};

// The bounds of one date, the month before the day that depends on it, then the day.
std::optional<WriteFault> dateFault(const char* text, std::initializer_list<DateBound> bounds,
                                    int dayByte, int monthByte, int yearByte) {
    for (const DateBound& bound : bounds) {
        const int value = bcd(text, bound.byte);
        if (value < bound.least || value > bound.most)
            return WriteFault{byteField(dateByteName(bound.byte), bound.byte),
                              pair(text, bound.byte),
                              bound.takes ? bound.takes : range(bound.least, bound.most)};
    }
    const int year = 2000 + bcd(text, yearByte), month = bcd(text, monthByte);
    const int days = DaysInMonth(year, month);
    const int day = bcd(text, dayByte);
    if (day < 1 || day > days)
        return WriteFault{byteField(dateByteName(dayByte), dayByte), pair(text, dayByte),
                          range(1, days) + " in " + MonthName(month) + " " + std::to_string(year)};
    return std::nullopt;
}

std::optional<WriteFault> clockFault(const char* text) {
    return dateFault(text,
                     {{kClockSecondsByte, 0, 59},
                      {kClockMinutesByte, 0, 59},
                      {kClockHoursByte, 0, 23},
                      {kClockDayOfWeekByte, 0, 6, "0 (Sunday) to 6 (Saturday)"},
                      {kClockMonthByte, 1, 12}},
                     kClockDayOfMonthByte, kClockMonthByte, kClockYearByte);
}

// A start of nothing but zeros is the instrument's own "none stored", and may go back.
std::optional<WriteFault> startFault(const char* text) {
    bool stored = false;
    for (int i = kStartMinuteByte; i <= kStartYearByte; ++i) stored |= getBlockByte(text, i) != 0;
    if (!stored)
        return std::nullopt;
    return dateFault(text,
                     {{kStartMinuteByte, 0, 59}, {kStartHourByte, 0, 23}, {kStartMonthByte, 1, 12}},
                     kStartDayByte, kStartMonthByte, kStartYearByte);
}

std::optional<WriteFault> byteFault(const char* text, const char* name, int byte, bool fits,
                                    const std::string& takes) {
    if (fits)
        return std::nullopt;
    return WriteFault{name, std::to_string(getBlockByte(text, byte)), takes};
}

std::optional<WriteFault> scaleTrimFault(const char* text) {
    const ScaleTrimRange trims = tableScaleTrims();
    const int value = getBlockByte(text, kScaleTrimByte);
    return byteFault(text, "scale trim (byte 1)", kScaleTrimByte,
                     value >= trims.least && value <= trims.most,
                     range(trims.least, trims.most) + ", the scale trims of the length tables");
}

std::optional<WriteFault> rangeCodeFault(const char* text) {
    return byteFault(text, "range code (byte 2)", kRangeCodeByte,
                     isTableRangeCode(getBlockByte(text, kRangeCodeByte)), "0, 1, 2, 3 or 8");
}

std::optional<WriteFault> gainFault(const char* text) {
    const int gain = getBlockWord(text, kGainByte);
    if (gain >= kLeastGain && gain <= kMostGain)
        return std::nullopt;
    return WriteFault{"gain (bytes 3 and 4)", std::to_string(gain), range(kLeastGain, kMostGain)};
}

std::optional<WriteFault> byte23Fault(const char* text) {
    return byteFault(text, "setting byte 23", kSettingByte23,
                     getBlockByte(text, kSettingByte23) <= kSettingByte23Max,
                     range(0, kSettingByte23Max));
}

std::optional<WriteFault> lengthFault(const char* text) {
    const int tenths = getBlockByte(text, kLengthTenthsByte);
    if (isTableLengthTenths(tenths))
        return std::nullopt;
    return WriteFault{"gauge length (byte 24)", std::to_string(tenths) + " tenths",
                      "the tenths of a table length (2, 5, or 10 to 110 in steps of 5)"};
}

// The fields with a range of their own, in block order; zero and the setting bytes 7 to 10
// take every value their bytes can hold.
struct FieldRule {
    int first;
    int last;
    std::optional<WriteFault> (*fault)(const char* text);
};
constexpr FieldRule kRules[] = {
    {kScaleTrimByte, kScaleTrimByte, scaleTrimFault},
    {kRangeCodeByte, kRangeCodeByte, rangeCodeFault},
    {kGainByte, kGainByte + 1, gainFault},
    {kClockSecondsByte, kClockYearByte, clockFault},
    {kStartMinuteByte, kStartYearByte, startFault},
    {kSettingByte23, kSettingByte23, byte23Fault},
    {kLengthTenthsByte, kLengthTenthsByte, lengthFault},
};

}  // namespace

std::optional<WriteFault> findWriteFault(const char* readText, const char* text) {
    if (const std::optional<DateByteFault> digits = findDateByteFault(text))
        return WriteFault{byteField(digits->name, digits->byte), visibleCharacters(digits->pair, 2),
                          "two decimal digits"};
    for (const FieldRule& rule : kRules)
        if (changes(readText, text, rule.first, rule.last))
            if (std::optional<WriteFault> fault = rule.fault(text))
                return fault;
    return std::nullopt;
}

std::string writeFaultText(const WriteFault& fault) {
    return blockFaultText(fault) + "; nothing written";
}

std::optional<BlockFault> findBlockFault(const char* text) {
    if (const std::optional<DateByteFault> digits = findDateByteFault(text))
        return BlockFault{WriteFault{byteField(digits->name, digits->byte),
                                     visibleCharacters(digits->pair, 2), "two decimal digits"},
                          digits->byte};
    for (const FieldRule& rule : kRules)
        if (std::optional<WriteFault> fault = rule.fault(text))
            return BlockFault{*fault, rule.first};
    return std::nullopt;
}

std::string blockFaultText(const WriteFault& fault) {
    return fault.field + " holds " + fault.held + ", not " + fault.takes;
}
