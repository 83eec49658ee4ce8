// Putting a kept block back: a read-modify-write that takes every byte from the history
// entry except the running clock (bytes 11 to 17) and the clock-set flag, which stay as
// the instrument holds them now, after a question that lists the fields that will change.
// An entry whose block does not match its kept checksum, or whose scheduled start is not
// two decimal digits a byte, is refused with a line before anything is asked or written.
#pragma once

#include "settings/history/history.h"

enum class RestoreOutcome {
    Written,          // the instrument took it (donePanel, or the read-back line)
    NothingToChange,  // the instrument already holds the entry's settings; nothing sent
    Declined,         // the operator answered No; nothing sent after the read
    Failed,           // the read or the write failed; the message panel says why
};

RestoreOutcome restoreHistoryEntry(const HistoryEntry& entry);
