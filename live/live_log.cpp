// The data log file: choosing it, writing raw records to it, closing it.
#include "live/live_log.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "link/messages.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"

int logFileOpen = 0;
int logFileHandle = -1;
char logFilePath[kLogPathSize] = {};

namespace {

// The path can be longer than ioBuffer, so the line is built in a buffer of its own to
// name it whole.
void reportLogNotOpened(const char* path) {
    char line[kLogPathSize + 40];
    std::snprintf(line, sizeof line, "log file not opened: %s", path);
    clearMessages();
    addMessageText(line);
    showMessages();
}

// Opens the chosen file empty, so the log holds exactly the records of this run.
void openLog(const char* chosen) {
    closeLog();
    std::snprintf(logFilePath, sizeof logFilePath, "%s", chosen);
    const int handle = CVI_OpenFile(logFilePath, VAL_READ_WRITE, VAL_TRUNCATE, VAL_ASCII);
    if (handle < 0) {
        reportLogNotOpened(logFilePath);
        return;
    }
    logFileHandle = handle;
    logFileOpen = 1;
    SetStatusField(StatusField::LogFile, (std::string("Log: ") + logFilePath).c_str());
}

}  // namespace

void writeLogRecord(const char* line, int count) {
    if (logFileOpen == 1)
        CVI_WriteFile(logFileHandle, line, count);
}

void closeLog() {
    if (logFileOpen == 1)
        CVI_CloseFile(logFileHandle);
    logFileOpen = 0;
    logFileHandle = -1;
    SetStatusField(StatusField::LogFile, "");
}

void resetLogState() {
    closeLog();
    std::memset(logFilePath, 0, sizeof logFilePath);
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
    const int choice = FileSelectPopup("", "*.*", "*.*", "Log File for output", VAL_SAVE_BUTTON, 0,
                                       0, 1, 1, chosen);
    if (choice < 0) {
        showMessages();
        return 0;
    }
    if (choice == VAL_NO_FILE_SELECTED)
        return 0;
    openLog(chosen);
    return 0;
}
