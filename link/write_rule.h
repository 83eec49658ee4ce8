// The one rule a block must keep before it is written, whatever wrote it: a panel, the
// command line, a restore or a settings file. writeBlock asks it and sends nothing when it
// fails, so no writer can go around it.
//
// Every date and time byte must be two decimal digits, as the instrument keeps them. Each
// field the write changes (the text about to be written against the block as read for the
// action) must hold a value that the field can take: a clock and a scheduled start that
// the calendar has, setting byte 23 within its one hex digit, and the calibration fields as
// the calibration actions write them. A field that the write leaves as the instrument
// holds it passes as it was read: the instrument's own values go back to it unchanged.
#pragma once

#include <optional>
#include <string>

struct WriteFault {
    std::string field;  // "start month (byte 21)", "setting byte 23"
    std::string held;   // the value as the text holds it: "13", "FF", "-5"
    std::string takes;  // what the field can take: "1 to 12", "two decimal digits"
};

// The first fault of `text` (the read or write form about to be sent) against `readText`
// (the block as read for this action, read form): a date or time byte that is not two
// decimal digits first, then the fields in block order.
std::optional<WriteFault> findWriteFault(const char* readText, const char* text);

// "start month (byte 21) holds 13, not 1 to 12; nothing written".
std::string writeFaultText(const WriteFault& fault);

// The first field of a block text that a write changing every field would have refused,
// and the byte it starts at: what a write of these settings, as they stand, would meet.
struct BlockFault {
    WriteFault fault;
    int byte;
};
std::optional<BlockFault> findBlockFault(const char* text);
// "start month (byte 21) holds 13, not 1 to 12".
std::string blockFaultText(const WriteFault& fault);
