// Putting a kept block back, as a comparison: the text a restore writes over the block the
// instrument holds now, and the fields that change. Every byte comes from the history
// entry except the running clock (bytes 11 to 17) and the clock-set flag, which stay as
// the instrument holds them now. No traffic and no questions here: the window and the
// command line read the block, ask and write.
#pragma once

#include <string>
#include <vector>

#include "history/history_lines.h"

// Puts the entry's bytes over the block text `text` (its read form, as just read), the
// clock and its flag excepted; commas and everything else stay.
void putEntryBytes(char* text, const std::string& entryText);

struct RestorePlan {
    std::string text;                  // the read form a restore would write (129 characters)
    std::vector<std::string> changes;  // "setting byte 7: 0 → 123", one per field that changes
};
// What restoring `entry` over the block `now` (read form) would write and change.
RestorePlan planRestore(const HistoryEntry& entry, const char* now);
