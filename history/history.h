// The settings history: every block text before it is overwritten, and every text the
// instrument took, one line each (history_lines.h) in a text file per instrument.
//
// The files live in QUORVEL_HISTORY_DIR when it is set, else in the user's data folder
// under quorvel/history (~/.local/share/quorvel/history on Linux). Only regular files are
// read or written: a path is looked at before it is opened, so a FIFO or a device there
// never blocks. An entry is appended whole or not at all. Loading takes the newest part of
// a file only, so a history of any size loads in a moment and in bounded memory.
//
// No widgets and no message lines here: results are values that the write path, the
// History page (or a command line) turn into questions and lines.
#pragma once

#include <string>
#include <vector>

#include "history/history_lines.h"
#include "history/history_notes.h"

// The folder of the history files; a folder set here wins over the environment.
std::string historyFolder();
void setHistoryFolder(const std::string& folder);  // empty: back to the default
// The file of the instrument with `serialNumber` (the one not yet identified when empty).
std::string historyFilePath(const std::string& serialNumber);
// The file of the instrument identified last.
std::string currentHistoryFilePath();
// Every history file in the folder, by name.
std::vector<std::string> historyFilePaths();

// What loading takes at most: the file's last few megabytes of lines, and of their entries
// the newest ones. Nothing before them is read, so lines are numbered from the first line
// loaded; that is the file's first line unless older history was left out. A line longer
// than any entry is damaged whatever it holds: it is passed over, without being held in
// memory and without counting against those megabytes, so the entries before it stay in
// reach; the file is read back no further than kHistoryMostBytesRead from its end.
inline constexpr long long kHistoryTailBytes = 4LL * 1024 * 1024;
inline constexpr size_t kHistoryMostEntries = 10000;
inline constexpr size_t kDamagedLinesNamed = 5;
inline constexpr long long kHistoryLongestLine = 64 * 1024;  // an entry takes about 250 bytes
inline constexpr long long kHistoryMostBytesRead = 256LL * 1024 * 1024;

struct HistoryFile {
    std::vector<HistoryEntry> entries;         // in the file's order, oldest first
    std::vector<HistoryNote> notes;            // likewise; never restored from
    long long damagedCount = 0;                // lines of the loaded part that are no entry
    std::vector<long long> firstDamagedLines;  // the first kDamagedLinesNamed of them
    long long olderBytes = 0;                  // bytes at the file's start that were not read
    long long olderEntries = 0;  // entries read but left out, older than the newest ones
    std::string problem;         // why the file could not be read at all; empty when it was
};
HistoryFile loadHistory(const std::string& path);
// What the History page says about a loaded file, one sentence each: why it could not be
// read, how much older history was not loaded, which lines are damaged.
std::vector<std::string> historyNotes(const HistoryFile& history);

// Whether a block was kept, and if not, why ("cannot write <path>: No space left on
// device", "<path> is a FIFO", "cannot create the folder <folder>").
struct KeepResult {
    bool kept = false;
    std::string reason;
};
// Keeps the text read before the write of `action`; the first of the two keeps of a write.
KeepResult keepBlockBeforeWrite(const char* action, const char* readText);
// Keeps the text the instrument took (its first 129 characters and their checksum).
KeepResult keepBlockWritten(const char* action, const char* writtenText);
// Keeps a text read to be looked at, with no write behind it.
KeepResult keepBlockRead(const char* action, const char* readText);
// Appends a note of what happened to the history of the instrument identified last, with
// this computer's time and the port in use.
KeepResult keepNote(const char* kind,
                    const std::vector<std::pair<std::string, std::string>>& facts);
