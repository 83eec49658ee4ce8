// "Save to file…" and "Apply settings file…" on the History page: an instrument's settings
// kept in a settings file (history/settings_file.h), and a file's settings put into the
// connected instrument after a question that lists every field that will change.
//
// Each asks for the file first; a cancelled choice does nothing. What goes wrong is said
// in the message panel; a file that is refused is refused before anything is sent.
#pragma once

#include "history/history.h"
#include "settings/history_restore.h"

// Reads the instrument's block and saves it. False when nothing was saved.
bool saveInstrumentSettings();
// Saves a kept entry of the history. False when nothing was saved.
bool saveKeptSettings(const HistoryEntry& entry);
// Reads a settings file and the instrument's block, asks, writes and reads back.
RestoreOutcome applySettingsFile();
