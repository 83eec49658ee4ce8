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

struct Cell {
    int byte;
    int value;
};

template <size_t N>
bool putCells(char* text, const Cell (&cells)[N]) {
    for (const Cell& cell : cells)
        if (!fitsBcdCell(cell.value))
            return false;
    for (const Cell& cell : cells) putBcdPair(text, blockTextPosition(cell.byte), cell.value);
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

bool putClockBytes(char* text, const CalendarTime& time) {
    const Cell cells[] = {
        {kClockSecondsByte, time.second},   {kClockMinutesByte, time.minute},
        {kClockHoursByte, time.hour},       {kClockDayOfWeekByte, time.dayOfWeek},
        {kClockDayOfMonthByte, time.day},   {kClockMonthByte, time.month},
        {kClockYearByte, time.year - 2000},
    };
    return putCells(text, cells);
}

bool putStartBytes(char* text, const CalendarTime& time) {
    const Cell cells[] = {
        {kStartMinuteByte, time.minute},    {kStartHourByte, time.hour},
        {kStartDayByte, time.day},          {kStartMonthByte, time.month},
        {kStartYearByte, time.year - 2000},
    };
    return putCells(text, cells);
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
