#include "link/date_bytes.h"

#include <cstdio>
#include <cstdlib>

#include "link/protocol.h"
#include "toolkit/platform/calendar.h"

namespace {

struct DateByte {
    int byte;
    const char* name;
};

constexpr DateByte kDateBytes[] = {
    {kClockSecondsByte, "clock seconds"},
    {kClockMinutesByte, "clock minutes"},
    {kClockHoursByte, "clock hours"},
    {kClockDayOfWeekByte, "clock day of week"},
    {kClockDayOfMonthByte, "clock day of month"},
    {kClockMonthByte, "clock month"},
    {kClockYearByte, "clock year"},
    {kStartMinuteByte, "start minute"},
    {kStartHourByte, "start hour"},
    {kStartDayByte, "start day"},
    {kStartMonthByte, "start month"},
    {kStartYearByte, "start year"},
};

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// A pair as it is sent: hex letters upper case.
char sentForm(char c) {
    return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Writes the date bytes `first` to `last` of `time`, or nothing when one does not fit.
bool putDateBytes(char* text, int first, int last, const CalendarTime& time) {
    for (int byte = first; byte <= last; ++byte)
        if (!fitsBcdCell(dateByteValue(byte, time)))
            return false;
    for (int byte = first; byte <= last; ++byte)
        putBcdPair(text, blockTextPosition(byte), dateByteValue(byte, time));
    return true;
}

}  // namespace

bool fitsBcdCell(int value) {
    return value >= kBcdCellMin && value <= kBcdCellMax;
}

int bcdPairValue(const char* text) {
    const char pair[3] = {text[0], text[1], '\0'};
    return std::atoi(pair);
}

bool putBcdPair(char* text, int position, int value) {
    if (!fitsBcdCell(value))
        return false;
    char cell[4];
    std::snprintf(cell, sizeof cell, value > 9 ? "%2d," : "0%1d,", value);
    for (int i = 0; i < 3; ++i) text[position + i] = cell[i];
    return true;
}

int dateByteValue(int byte, const CalendarTime& time) {
    switch (byte) {
        case kClockSecondsByte:
            return time.second;
        case kClockMinutesByte:
        case kStartMinuteByte:
            return time.minute;
        case kClockHoursByte:
        case kStartHourByte:
            return time.hour;
        case kClockDayOfWeekByte:
            return time.dayOfWeek;
        case kClockDayOfMonthByte:
        case kStartDayByte:
            return time.day;
        case kClockMonthByte:
        case kStartMonthByte:
            return time.month;
        case kClockYearByte:
        case kStartYearByte:
            return time.year - 2000;
        default:
            return -1;
    }
}

bool putClockBytes(char* text, const CalendarTime& time) {
    return putDateBytes(text, kClockSecondsByte, kClockYearByte, time);
}

bool putStartBytes(char* text, const CalendarTime& time) {
    return putDateBytes(text, kStartMinuteByte, kStartYearByte, time);
}

std::optional<DateByteFault> findDateByteFault(const char* text) {
    for (const DateByte& date : kDateBytes) {
        const char* pair = text + blockTextPosition(date.byte);
        if (!isDecimalDigit(pair[0]) || !isDecimalDigit(pair[1]))
            return DateByteFault{
                date.byte, date.name, {sentForm(pair[0]), sentForm(pair[1]), '\0'}};
    }
    return std::nullopt;
}

const char* dateByteName(int byte) {
    for (const DateByte& date : kDateBytes)
        if (date.byte == byte)
            return date.name;
    return nullptr;
}
