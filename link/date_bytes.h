// The date and time bytes of the settings block: the clock (bytes 11 to 17) and the
// scheduled start (18 to 22), each two decimal digits in the byte's two hex positions.
//
// Only two decimal digits are checked, not the field's calendar range: the instrument
// itself sends 00 in a month or a day (a start never set is all 00), and a value it sent
// goes back to it unchanged; the panels refuse an impossible date before they write.
#pragma once

#include <optional>

struct DateByteFault {
    int byte;          // the first date or time byte that is not two decimal digits
    const char* name;  // "clock hours", "start minute", ...
    char pair[3];      // its two characters as they are sent (hex letters upper case)
};

// The first date or time byte of the block text at `text` that is not two decimal digits.
std::optional<DateByteFault> findDateByteFault(const char* text);

// True when every date and time byte of the block text at `text` is two decimal digits;
// otherwise adds the line naming the first that is not ("start minute (byte 18) holds FF,
// not two decimal digits; nothing written") and brings the message panel to the front.
// Leaves ioBuffer alone.
bool dateBytesWritable(const char* text);
