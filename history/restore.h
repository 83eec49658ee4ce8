// Putting a kept block back, as a comparison: the text a restore or an applied settings
// file writes over the block the instrument holds now, and the fields that change. From
// the instrument it was kept from, every byte comes back except the running clock (bytes
// 11 to 17) and the clock-set flag, which stay as the instrument holds them now; from
// another instrument only what the kx, qv and scheduled start panels write, since its
// calibration and its other bytes belong to its own gauge. No traffic and no questions
// here: the window and the command line read the block, ask and write.
#pragma once

#include <string>
#include <vector>

#include "history/history_lines.h"

// Puts the entry's bytes over the block text `text` (its read form, as just read), the
// clock and its flag excepted; commas and everything else stay.
void putEntryBytes(char* text, const std::string& entryText);

// How much of a kept block goes back.
enum class ApplyScope { PanelSettings, EverythingButTheClock };

struct RestorePlan {
    ApplyScope scope = ApplyScope::EverythingButTheClock;
    std::string text;                  // the read form a restore would write (129 characters)
    std::vector<std::string> changes;  // "setting byte 7: 0 → 123", one per field that changes
};
// What restoring `entry` over the block `now` (read form) of the instrument it was kept
// from would write and change.
RestorePlan planRestore(const HistoryEntry& entry, const char* now);
// What putting back `source` (read form), kept from the instrument `sourceSerial`, over the
// block `now` of the instrument `serialNumber` would write and change; an instrument not
// identified counts as another.
RestorePlan planPutBack(const std::string& source, const std::string& sourceSerial, const char* now,
                        const std::string& serialNumber);
