// "Restore these settings" on the History page: a read-modify-write that puts a kept block
// back (history/restore.h says which bytes: an entry of another instrument brings only the
// panels' settings, and its question says so), after a question that lists the fields that
// will change. An entry whose block does not match its kept checksum, or whose block would
// break the write rule (link/write_rule.h), is refused with a line before anything is asked
// or written.
#pragma once

#include <string>

#include "history/history.h"

enum class RestoreOutcome {
    Written,          // the instrument took it (donePanel, or the read-back line)
    NothingToChange,  // the instrument already holds the entry's settings; nothing sent
    Declined,         // the operator answered No; nothing sent after the read
    Failed,           // the read or the write failed; the message panel says why
};

RestoreOutcome restoreHistoryEntry(const HistoryEntry& entry);

// Writes `text` (read form) in place of the block read as `readText`, through the settings
// history and with its read-back, and reports how it went: the end of a restore and of an
// applied settings file.
RestoreOutcome writePlannedText(const char* action, const char* readText, const std::string& text);
