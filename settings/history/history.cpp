#include "settings/history/history.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cctype>
#include <cstdlib>

#include "link/link_state.h"
#include "link/messages.h"
#include "settings/local_time.h"
#include "toolkit/platform/data_folder.h"

namespace {

constexpr char kFolderVariable[] = "QUORVEL_HISTORY_DIR";
constexpr char kUnidentified[] = "unidentified";
constexpr int kFields = 6;

std::string& chosenFolder() {
    static std::string folder;
    return folder;
}

// Whether a failure was already reported for the write in hand: one line per write.
bool failureReported = false;

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

bool isBlockText(const std::string& text) {
    if (text.size() != static_cast<size_t>(kBlockTextLength))
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool good =
            i % 3 == 2 ? text[i] == ',' : std::isxdigit(static_cast<unsigned char>(text[i])) != 0;
        if (!good)
            return false;
    }
    return true;
}

bool isTime(const std::string& time) {
    static const std::string kShape = "dddd-dd-dd dd:dd:dd";
    if (time.size() != kShape.size())
        return false;
    for (size_t i = 0; i < time.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(time[i])) != 0;
        if (kShape[i] == 'd' ? !digit : time[i] != kShape[i])
            return false;
    }
    return true;
}

bool parseEntry(const QString& line, HistoryEntry& entry) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != kFields)
        return false;
    entry.time = fields[0].toStdString();
    entry.action = fields[1].toStdString();
    entry.stage = fields[2].toStdString();
    entry.serialNumber = fields[3].toStdString();
    entry.port = fields[4].toStdString();
    entry.text = fields[5].toStdString();
    return isTime(entry.time) && !entry.action.empty() &&
           (entry.stage == kBeforeStage || entry.stage == kWrittenStage) && isBlockText(entry.text);
}

void reportFailure(const std::string& path) {
    if (failureReported)
        return;
    failureReported = true;
    // ioBuffer holds the block text at this moment: the line is built on its own.
    const std::string line = "settings history not saved: cannot write " + path;
    addMessageText(line.c_str());
    showMessages();
}

void keep(const char* action, const char* stage, const char* text) {
    const std::string path = currentHistoryFilePath();
    const std::string serial = identifiedSerialNumber[0] ? identifiedSerialNumber : "-";
    const std::string line = formatDateTime(computerTime()) + '\t' + action + '\t' + stage + '\t' +
                             serial + '\t' + deviceName + '\t' +
                             std::string(text, kBlockTextLength) + '\n';
    QFile file(QString::fromStdString(path));
    const bool saved = QDir().mkpath(QString::fromStdString(historyFolder())) &&
                       file.open(QIODevice::Append | QIODevice::Text) &&
                       file.write(line.data(), static_cast<qint64>(line.size())) ==
                           static_cast<qint64>(line.size()) &&
                       file.flush();
    if (!saved)
        reportFailure(path);
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
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return history;
    int number = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n'));
        ++number;
        if (line.isEmpty())
            continue;
        HistoryEntry entry;
        if (parseEntry(line, entry)) {
            entry.line = number;
            history.entries.push_back(entry);
        } else {
            history.damagedLines.push_back(number);
        }
    }
    return history;
}

std::string damagedLinesNote(const std::vector<int>& lines) {
    if (lines.empty())
        return {};
    std::string numbers;
    for (size_t i = 0; i < lines.size(); ++i) numbers += (i ? ", " : "") + std::to_string(lines[i]);
    return (lines.size() == 1
                ? "line " + numbers + " of the history is damaged and was skipped"
                : "lines " + numbers + " of the history are damaged and were skipped");
}

void keepBlockBeforeWrite(const char* action, const char* readText) {
    failureReported = false;
    keep(action, kBeforeStage, readText);
}

void keepBlockWritten(const char* action, const char* writtenText) {
    keep(action, kWrittenStage, writtenText);
}
