#include "link/date_bytes.h"

#include <string>

#include "link/messages.h"
#include "link/protocol.h"

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

}  // namespace

std::optional<DateByteFault> findDateByteFault(const char* text) {
    for (const DateByte& date : kDateBytes) {
        const char* pair = text + blockTextPosition(date.byte);
        if (!isDecimalDigit(pair[0]) || !isDecimalDigit(pair[1]))
            return DateByteFault{
                date.byte, date.name, {sentForm(pair[0]), sentForm(pair[1]), '\0'}};
    }
    return std::nullopt;
}

bool dateBytesWritable(const char* text) {
    const std::optional<DateByteFault> fault = findDateByteFault(text);
    if (!fault)
        return true;
    const std::string line = std::string(fault->name) + " (byte " + std::to_string(fault->byte) +
                             ") holds " + visibleCharacters(fault->pair, 2) +
                             ", not two decimal digits; nothing written";
    addMessageText(line.c_str());
    showMessages();
    return false;
}
