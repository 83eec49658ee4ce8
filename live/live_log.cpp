// The data log files: choosing them, writing records to them in batches, closing them.
#include "live/live_log.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/link_state.h"
#include "link/live_record.h"
#include "link/record_csv.h"
#include "live/log_names.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

int logFileOpen = 0;
int logFileHandle = -1;
char logFilePath[kLogPathSize] = {};
int csvFileOpen = 0;
char csvFilePath[kLogPathSize] = {};

namespace {

// Pending lines go out when this much has gathered or this long has passed: a few writes
// a second instead of one a record.
constexpr size_t kBatchBytes = 4096;
constexpr double kBatchSeconds = 0.1;

struct LogFile {
    int* open;
    int handle = -1;
    char* path;
    std::string pending;
    bool headerWritten = false;
    // Whether the file system counts the file's names: one that says 0 from the start
    // tells nothing, and its log is never taken for deleted.
    bool namesCounted = false;
};

LogFile rawLog{&logFileOpen, -1, logFilePath, {}, false, false};
LogFile csvLog{&csvFileOpen, -1, csvFilePath, {}, false, false};
double lastWrite = 0;

// The path can be longer than ioBuffer, so the line is built in a buffer of its own to
// name it whole.
void reportLine(const char* format, const char* path, const char* reason = "") {
    char line[kLogPathSize + 160];
    std::snprintf(line, sizeof line, format, path, reason);
    addMessageText(line);
    showMessages();
}

void showLogInStatus() {
    const std::string text = logFileOpen == 1 ? std::string("Log: ") + logFilePath : std::string();
    SetStatusField(StatusField::LogFile, text.c_str());
}

bool closeFile(LogFile& file) {
    bool written = true;
    if (*file.open == 1) {
        if (!file.pending.empty())
            written = CVI_WriteFile(file.handle, file.pending.data(),
                                    static_cast<int>(file.pending.size())) ==
                      static_cast<int>(file.pending.size());
        CVI_CloseFile(file.handle);
    }
    *file.open = 0;
    file.handle = -1;
    file.pending.clear();
    file.headerWritten = false;
    return written;
}

// Ends logging after a failed write of `failed`; the run goes on.
void endLoggingAfterFailure(LogFile& failed) {
    const std::string path = failed.path;
    const std::string reason = GetFileErrorText();
    failed.pending.clear();
    closeFile(failed);
    closeFile(&failed == &rawLog ? csvLog : rawLog);
    logFileHandle = -1;
    showLogInStatus();
    reportLine("log file %s not written (%s): logging stopped, the run goes on", path.c_str(),
               reason.c_str());
}

// Ends logging when `file` has lost its last name (deleted, or its folder removed): what
// would follow could never be found again. Looked at once a batch, not once a record.
bool endLoggingIfGone(LogFile& file) {
    if (!file.namesCounted || GetFileLinkCount(file.handle) != 0)
        return false;
    const std::string path = file.path;
    const std::string folder = directoryOf(path);
    const bool folderGone = !folder.empty() && GetFileKind(folder.c_str()) == FILE_ABSENT;
    file.pending.clear();
    closeFile(file);
    closeFile(&file == &rawLog ? csvLog : rawLog);
    logFileHandle = -1;
    showLogInStatus();
    reportLine(folderGone ? "log file %s is gone with its folder: logging stopped, the run goes on"
                          : "log file %s was deleted: logging stopped, the run goes on",
               path.c_str());
    return true;
}

// Writes the pending lines of both files once a batch has gathered (or at once).
void writePending(bool now) {
    const double at = CurrentClock().now();
    if (!now && rawLog.pending.size() < kBatchBytes && csvLog.pending.size() < kBatchBytes &&
        at - lastWrite < kBatchSeconds)
        return;
    lastWrite = at;
    for (LogFile* file : {&rawLog, &csvLog}) {
        if (*file->open != 1 || file->pending.empty())
            continue;
        if (endLoggingIfGone(*file))
            return;
        const int size = static_cast<int>(file->pending.size());
        if (CVI_WriteFile(file->handle, file->pending.data(), size) != size) {
            endLoggingAfterFailure(*file);
            return;
        }
        file->pending.clear();
    }
}

// How a file that cannot be a log is reported: a choice the operator just made gets a
// message box of its own; a log opened for a run adds to the start's messages.
enum class Report { OnClearedBox, Below };

void reportNotOpened(Report report, const char* format, const char* path) {
    if (report == Report::OnClearedBox)
        clearMessages();
    reportLine(format, path);
}

bool refusedAsNotRegular(Report report, const char* path) {
    const PathKind kind = GetPathKind(path);
    if (kind == PathKind::Absent || kind == PathKind::Regular)
        return false;
    if (report == Report::OnClearedBox)
        clearMessages();
    reportLine("log file not opened: %s is %s", path, PathKindWords(kind));
    return true;
}

// The raw log is written as binary, its line ends added as CR LF, so that a record's own
// LF is stored as it came; the CSV's line feeds are stored as CR LF by the file library.
bool openFile(Report report, LogFile& file, const char* path, int fileType) {
    std::snprintf(file.path, kLogPathSize, "%s", path);
    const int handle = CVI_OpenFile(file.path, VAL_READ_WRITE, VAL_TRUNCATE, fileType);
    if (handle < 0) {
        reportNotOpened(report, "log file not opened: %s", file.path);
        return false;
    }
    file.handle = handle;
    file.namesCounted = GetFileLinkCount(handle) > 0;
    *file.open = 1;
    return true;
}

bool csvWanted() {
    int wanted = 0;
    return GetCtrlVal(currentPanel, LIVE_CSV, &wanted) == 0 && wanted == 1;
}

// Opens the chosen file empty, so the log holds exactly the records of this run, and the
// CSV beside it when the operator wants one.
void openLog(Report report, const char* chosen) {
    closeLog();
    if (refusedAsNotRegular(report, chosen) || !openFile(report, rawLog, chosen, VAL_BINARY))
        return;
    logFileHandle = rawLog.handle;
    const std::string csv = csvPathBeside(chosen);
    if (csvWanted() && !refusedAsNotRegular(Report::Below, csv.c_str()))
        openFile(Report::Below, csvLog, csv.c_str(), VAL_ASCII);
    lastWrite = CurrentClock().now();
    showLogInStatus();
}

void appendCsvHeader(bool twoValues) {
    csvLog.pending += csvHeader(twoValues);
    csvLog.headerWritten = true;
}

}  // namespace

void writeLogRecord(const char* characters, int count) {
    if (logFileOpen != 1)
        return;
    rawLog.pending.append(characters, static_cast<size_t>(count));
    rawLog.pending.append("\r\n", 2);
    writePending(false);
}

void writeCsvRecord(const LiveRecord& record, double elapsed, double wallTime, int stretch) {
    if (csvFileOpen != 1)
        return;
    if (!csvLog.headerWritten)
        appendCsvHeader(record.hasSecond);
    csvLog.pending += csvLine(record, elapsed, wallTime, stretch);
    writePending(false);
}

void openLogForRun() {
    int everyRun = 0;
    if (logFileOpen == 1 || GetCtrlVal(currentPanel, LIVE_EVERY_RUN, &everyRun) != 0 ||
        everyRun != 1)
        return;
    const std::string path =
        freshLogPath(directoryOf(logFilePath), identifiedSerialNumber, CurrentClock().wallTime());
    openLog(Report::Below, path.c_str());
}

void closeLog() {
    const bool wasOpen = logFileOpen == 1 || csvFileOpen == 1;
    writePending(true);
    closeFile(rawLog);
    closeFile(csvLog);
    logFileHandle = -1;
    if (wasOpen)
        showLogInStatus();
}

void resetLogState() {
    closeLog();
    SetStatusField(StatusField::LogFile, "");
    std::memset(logFilePath, 0, sizeof logFilePath);
    std::memset(csvFilePath, 0, sizeof csvFilePath);
}

int datafilecallback(int, int, int event, void*, int, int) {
    if (event == EVENT_RIGHT_CLICK) {
        MessagePopup("Help for File", "Press this button to select a file for logging the data");
        return 0;
    }
    if (event != EVENT_COMMIT)
        return 0;
    // A cancelled choice must leave an open log and its path as they are.
    char chosen[kLogPathSize] = {};
    const std::string proposed = proposedLogName(identifiedSerialNumber, CurrentClock().wallTime());
    const int choice = FileSelectPopup("", proposed.c_str(), "*.*", "Log File for output",
                                       VAL_SAVE_BUTTON, 0, 0, 1, 1, chosen);
    if (choice < 0) {
        showMessages();
        return 0;
    }
    if (choice == VAL_NO_FILE_SELECTED)
        return 0;
    openLog(Report::OnClearedBox, chosen);
    return 0;
}
