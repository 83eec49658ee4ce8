#include "history/history.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "link/link_state.h"
#include "toolkit/platform/calendar.h"
#include "toolkit/platform/data_folder.h"
#include "toolkit/platform/utility.h"

namespace {

constexpr char kFolderVariable[] = "QUORVEL_HISTORY_DIR";
constexpr char kUnidentified[] = "unidentified";

std::string& chosenFolder() {
    static std::string folder;
    return folder;
}

// A file name from a serial number: letters, digits, '-', '_' and '.' kept, the rest '_'.
std::string fileNameFor(const std::string& serialNumber) {
    if (serialNumber.empty())
        return std::string(kUnidentified) + ".txt";
    std::string name;
    for (char c : serialNumber) {
        const bool kept = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
                          (c == '.' && !name.empty());
        name += kept ? c : '_';
    }
    return name + ".txt";
}

void takeLine(std::string_view line, long long number, HistoryFile& history) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty())
        return;
    HistoryEntry entry;
    entry.line = number;
    if (parseHistoryLine(line, entry)) {
        history.entries.push_back(std::move(entry));
        return;
    }
    if (history.firstDamagedLines.size() < kDamagedLinesNamed)
        history.firstDamagedLines.push_back(number);
    ++history.damagedCount;
}

std::string amountOfBytes(long long bytes) {
    char shown[32];
    if (bytes < 10000)
        std::snprintf(shown, sizeof shown, "%lld bytes", bytes);
    else if (bytes < 1000000)
        std::snprintf(shown, sizeof shown, "%.1f kB", static_cast<double>(bytes) / 1e3);
    else
        std::snprintf(shown, sizeof shown, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return shown;
}

std::string numberList(const std::vector<long long>& numbers) {
    std::string list;
    for (size_t i = 0; i < numbers.size(); ++i)
        list += (i ? ", " : "") + std::to_string(numbers[i]);
    return list;
}

std::string damagedNote(const HistoryFile& history) {
    const std::string named = numberList(history.firstDamagedLines);
    const std::string where = history.olderBytes > 0 ? " of the part loaded" : " of the history";
    if (history.damagedCount == 1)
        return "line " + named + where + " is damaged and was skipped";
    if (history.damagedCount <= static_cast<long long>(kDamagedLinesNamed))
        return "lines " + named + where + " are damaged and were skipped";
    return std::to_string(history.damagedCount) + " lines" + where +
           " are damaged and were skipped; the first are lines " + named;
}

std::string olderNote(const HistoryFile& history) {
    std::string note = "older history not loaded: ";
    if (history.olderBytes > 0)
        note += "the first " + amountOfBytes(history.olderBytes) + " of the file";
    if (history.olderBytes > 0 && history.olderEntries > 0)
        note += " and ";
    if (history.olderEntries > 0)
        note += std::to_string(history.olderEntries) + " entries before the newest " +
                std::to_string(kHistoryMostEntries);
    return note;
}

// Why a history file cannot be appended to at `path`, or empty when it can be tried.
std::string unwritableReason(const std::string& folder, const std::string& path) {
    if (!QDir().mkpath(QString::fromStdString(folder)))
        return "cannot create the folder " + folder;
    const PathKind kind = GetPathKind(path.c_str());
    if (kind != PathKind::Absent && kind != PathKind::Regular)
        return path + " is " + PathKindWords(kind);
    return {};
}

KeepResult keep(const char* action, const char* stage, const char* text) {
    const std::string path = currentHistoryFilePath();
    if (std::string reason = unwritableReason(historyFolder(), path); !reason.empty())
        return {false, std::move(reason)};
    const std::string serial = identifiedSerialNumber[0] ? identifiedSerialNumber : "-";
    const std::string line = formatHistoryLine(FormatDateTime(ComputerLocalTime()), action, stage,
                                               serial, portLabel(), text);
    if (AppendWholeToFile(path.c_str(), line.data(), static_cast<int>(line.size())) != 0)
        return {false, "cannot write " + path + ": " + GetFileErrorText()};
    return {true, {}};
}

}  // namespace

std::string historyFolder() {
    if (!chosenFolder().empty())
        return chosenFolder();
    if (const char* folder = std::getenv(kFolderVariable); folder && *folder)
        return folder;
    return ToolDataFolder() + "/history";
}

void setHistoryFolder(const std::string& folder) {
    chosenFolder() = folder;
}

std::string historyFilePath(const std::string& serialNumber) {
    return historyFolder() + "/" + fileNameFor(serialNumber);
}

std::string currentHistoryFilePath() {
    return historyFilePath(identifiedSerialNumber);
}

std::vector<std::string> historyFilePaths() {
    const QDir folder(QString::fromStdString(historyFolder()));
    std::vector<std::string> paths;
    for (const QString& name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
        paths.push_back(folder.filePath(name).toStdString());
    return paths;
}

HistoryFile loadHistory(const std::string& path) {
    HistoryFile history;
    const PathKind kind = GetPathKind(path.c_str());
    if (kind == PathKind::Absent)
        return history;  // nothing kept yet
    if (kind != PathKind::Regular) {
        history.problem = path + " is " + PathKindWords(kind);
        return history;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        history.problem = "cannot open " + path + " (" + file.errorString().toStdString() + ")";
        return history;
    }
    // The byte before the tail tells whether the tail starts on a line of its own.
    const qint64 size = file.size();
    const qint64 start = std::max<qint64>(0, size - kHistoryTailBytes - 1);
    file.seek(start);
    const QByteArray tail = file.read(size - start);
    std::string_view rest(tail.constData(), static_cast<size_t>(tail.size()));
    if (start > 0) {  // a line cut by the start of the tail is part of the older history
        const size_t end = rest.find('\n');
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    history.olderBytes = size - static_cast<qint64>(rest.size());
    for (long long number = 1; !rest.empty(); ++number) {
        const size_t end = rest.find('\n');
        takeLine(rest.substr(0, end), number, history);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    if (history.entries.size() > kHistoryMostEntries) {
        const size_t older = history.entries.size() - kHistoryMostEntries;
        history.entries.erase(history.entries.begin(),
                              history.entries.begin() + static_cast<std::ptrdiff_t>(older));
        history.olderEntries = static_cast<long long>(older);
    }
    return history;
}

std::vector<std::string> historyNotes(const HistoryFile& history) {
    std::vector<std::string> notes;
    if (!history.problem.empty())
        notes.push_back("settings history not read: " + history.problem);
    if (history.olderBytes > 0 || history.olderEntries > 0)
        notes.push_back(olderNote(history));
    if (history.damagedCount > 0)
        notes.push_back(damagedNote(history));
    return notes;
}

KeepResult keepBlockBeforeWrite(const char* action, const char* readText) {
    return keep(action, kBeforeStage, readText);
}

KeepResult keepBlockWritten(const char* action, const char* writtenText) {
    return keep(action, kWrittenStage, writtenText);
}
