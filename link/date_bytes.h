// The date and time bytes of the settings block: the clock (bytes 11 to 17) and the
// scheduled start (18 to 22), each two decimal digits in the byte's two hex positions
// (BCD: value 45 is the pair "45"), years within the century.
//
// Here only two decimal digits are checked, not the field's calendar range: the instrument
// itself sends 00 in a month or a day (a start never set is all 00), and a value it sent
// goes back to it unchanged. The calendar is checked by the write rule (link/write_rule.h)
// for a clock or a start that a write changes.
#pragma once

#include <optional>

struct CalendarTime;

inline constexpr int kBcdCellMin = 0;
inline constexpr int kBcdCellMax = 99;

bool fitsBcdCell(int value);
// The pair at `text` as a decimal number, taken from its leading decimal digits only:
// "45" is 45, "4A" is 4, "A4" is 0. Reads exactly two characters.
int bcdPairValue(const char* text);
// Writes `value` (0 to 99) as two decimal digits and a comma at `position` of `text`
// ("0%1d," below 10, "%2d," above). Returns false, writing nothing, for a value that does
// not fit.
bool putBcdPair(char* text, int position, int value);

// The value byte `byte` of the clock (11 to 17) or the scheduled start (18 to 22) keeps for
// `time`: the year within the century, the day of the week as the instrument keeps it
// (0 = Sunday); -1 for any other byte.
int dateByteValue(int byte, const CalendarTime& time);
// The clock bytes of `time` (seconds to year; the day of the week as the instrument keeps
// it, 0 = Sunday) into the block text, or the scheduled start's (minute to year). Returns
// false, writing nothing, when a value does not fit its cell (a year outside 2000 to 2099).
bool putClockBytes(char* text, const CalendarTime& time);
bool putStartBytes(char* text, const CalendarTime& time);

struct DateByteFault {
    int byte;          // the first date or time byte that is not two decimal digits
    const char* name;  // "clock hours", "start minute", ...
    char pair[3];      // its two characters as they are sent (hex letters upper case)
};

// The first date or time byte of the block text at `text` that is not two decimal digits.
std::optional<DateByteFault> findDateByteFault(const char* text);
// "clock seconds", "start month", ...; nullptr for a byte that is no date or time byte.
const char* dateByteName(int byte);
