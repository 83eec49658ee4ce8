// The settings history: every block text before it is overwritten, and every text the
// instrument took, one line each in a text file per instrument.
//
// A line is tab-separated and readable as it stands:
//   2026-12-07 12:00:00 <TAB> kx write <TAB> before <TAB> QV-0000012345 <TAB> COM1 <TAB> 129
//   characters
// time on this computer, the action, "before" (the text read just before the write) or
// "written" (the text the instrument acknowledged with 'D'), the serial number of the
// latest identification ("-" before any), the port and the block text in its read form.
//
// The files live in QUORVEL_HISTORY_DIR when it is set, else in the user's data folder
// under quorvel/history (~/.local/share/quorvel/history on Linux). A history that cannot
// be written never stops a write: it is reported in one line of the message panel.
#pragma once

#include <string>
#include <vector>

// The folder of the history files; a folder set here wins over the environment.
std::string historyFolder();
void setHistoryFolder(const std::string& folder);  // empty: back to the default
// The file of the instrument with `serialNumber` (the one not yet identified when empty).
std::string historyFilePath(const std::string& serialNumber);
// The file of the instrument identified last.
std::string currentHistoryFilePath();
// Every history file in the folder, by name.
std::vector<std::string> historyFilePaths();

inline constexpr char kBeforeStage[] = "before";
inline constexpr char kWrittenStage[] = "written";

struct HistoryEntry {
    std::string time;
    std::string action;
    std::string stage;
    std::string serialNumber;
    std::string port;
    std::string text;  // 129 characters, the read form
    int line = 0;      // from 1, in its file
};

struct HistoryFile {
    std::vector<HistoryEntry> entries;  // in the file's order, oldest first
    std::vector<int> damagedLines;      // lines skipped because they are not an entry
};
HistoryFile loadHistory(const std::string& path);
// "line 3 of the history is damaged and was skipped", or for several "lines 3, 7 ...".
std::string damagedLinesNote(const std::vector<int>& lines);

// Keeps the text read before the write of `action`; the first of the two calls of a write.
void keepBlockBeforeWrite(const char* action, const char* readText);
// Keeps the text the instrument took (only its first 129 characters are kept).
void keepBlockWritten(const char* action, const char* writtenText);
