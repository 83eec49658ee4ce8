#include "history/history.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

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

void countDamaged(long long number, HistoryFile& history) {
    if (history.firstDamagedLines.size() < kDamagedLinesNamed)
        history.firstDamagedLines.push_back(number);
    ++history.damagedCount;
}

void takeLine(std::string_view line, long long number, HistoryFile& history) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty())
        return;
    HistoryEntry entry;
    entry.line = number;
    HistoryNote note;
    note.line = number;
    if (parseHistoryLine(line, entry))
        history.entries.push_back(std::move(entry));
    else if (parseNoteLine(line, note))
        history.notes.push_back(std::move(note));
    else
        countDamaged(number, history);
}

// The lines of a history file's loaded part, newest first; nothing for a line too long to
// be an entry. `from` is where the loaded part starts.
struct TailLines {
    std::vector<std::optional<std::string>> newestFirst;
    long long from = 0;
};

// Reads the file back from its end in blocks, a line at a time, until the lines taken
// fill kHistoryTailBytes (an over-long line passed over counts nothing), the start of the
// file, or kHistoryMostBytesRead. A line is taken only whole: from the byte after the line
// end before it, or from the file's start.
TailLines readTailLines(QFile& file) {
    constexpr qint64 kBlock = 1 << 20;
    TailLines tail;
    const qint64 size = file.size();
    tail.from = size;
    qint64 lineEnd = size, passedOver = 0, position = size;
    std::string later;  // the current line's bytes behind the block in hand
    bool tooLong = false;
    // A line from `start` to lineEnd: taken when it fits, else the loading stops.
    const auto endLine = [&](qint64 start, std::string text) {
        if (!tooLong && size - passedOver - start > kHistoryTailBytes)
            return false;
        if (start < size)  // a file's last line end closes no line after it
            tail.newestFirst.push_back(tooLong ? std::nullopt : std::optional(std::move(text)));
        if (tooLong)
            passedOver += std::min(lineEnd + 1, size) - start;  // with its line end
        tail.from = start;
        lineEnd = start - 1;
        tooLong = false;
        later.clear();
        return true;
    };
    while (position > 0 && size - position < kHistoryMostBytesRead) {
        const qint64 blockStart = std::max<qint64>(0, position - kBlock);
        file.seek(blockStart);
        const QByteArray block = file.read(position - blockStart);
        if (block.size() != position - blockStart)
            break;
        std::string_view rest(block.constData(), static_cast<size_t>(block.size()));
        for (size_t end; (end = rest.rfind('\n')) != std::string_view::npos;) {
            const qint64 start = blockStart + static_cast<qint64>(end) + 1;
            tooLong |= lineEnd - start > kHistoryLongestLine;
            if (!endLine(start,
                         tooLong ? std::string() : std::string(rest.substr(end + 1)) + later))
                return tail;
            rest = rest.substr(0, end);
        }
        position = blockStart;
        tooLong |= lineEnd - position > kHistoryLongestLine;
        later = tooLong ? std::string() : std::string(rest) + later;
    }
    if (position == 0)
        endLine(0, std::move(later));
    return tail;
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

// Whether the file at `path` (regular or absent) is empty or ends with a line end.
bool endsWithLineEnd(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || !file.seek(file.size() - 1))
        return true;
    char last = '\n';
    return file.read(&last, 1) != 1 || last == '\n';
}

std::string serialLabel() {
    return identifiedSerialNumber[0] ? identifiedSerialNumber : "-";
}

KeepResult append(std::string line) {
    const std::string path = currentHistoryFilePath();
    if (std::string reason = unwritableReason(historyFolder(), path); !reason.empty())
        return {false, std::move(reason)};
    // A last line without its line end (cut, or edited by hand) would take the entry into
    // itself, and the entry would be lost with that damaged line.
    if (!endsWithLineEnd(path))
        line.insert(0, 1, '\n');
    if (AppendWholeToFile(path.c_str(), line.data(), static_cast<int>(line.size())) != 0)
        return {false, "cannot write " + path + ": " + GetFileErrorText()};
    return {true, {}};
}

KeepResult keep(const char* action, const char* stage, const char* text) {
    return append(formatHistoryLine(FormatDateTime(ComputerLocalTime()), action, stage,
                                    serialLabel(), portLabel(), text));
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
    const TailLines tail = readTailLines(file);
    history.olderBytes = tail.from;
    long long number = 0;
    for (auto line = tail.newestFirst.rbegin(); line != tail.newestFirst.rend(); ++line)
        if (*line)
            takeLine(**line, ++number, history);
        else
            countDamaged(++number, history);
    if (history.entries.size() > kHistoryMostEntries) {
        const size_t older = history.entries.size() - kHistoryMostEntries;
        history.entries.erase(history.entries.begin(),
                              history.entries.begin() + static_cast<std::ptrdiff_t>(older));
        history.olderEntries = static_cast<long long>(older);
    }
    if (history.notes.size() > kHistoryMostEntries)
        history.notes.erase(history.notes.begin(),
                            history.notes.end() - static_cast<std::ptrdiff_t>(kHistoryMostEntries));
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

KeepResult keepBlockRead(const char* action, const char* readText) {
    return keep(action, kReadStage, readText);
}

KeepResult keepNote(const char* kind,
                    const std::vector<std::pair<std::string, std::string>>& facts) {
    const HistoryNote note{
        FormatDateTime(ComputerLocalTime()), kind, serialLabel(), portLabel(), facts, 0};
    return append(formatNoteLine(note));
}
