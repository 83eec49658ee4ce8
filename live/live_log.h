// The data log: the file the operator chose for the raw live records.
//
// A log is open from a file choice until the run is stopped, the operator returns, the
// live panel closes or the panel is left during a run. While it is open, logFileHandle is
// a handle the file library gave; a log that could not be opened is never counted as open.
#pragma once

inline constexpr int kLogPathSize = 512;

extern int logFileOpen;                 // 1 while records are written to the log
extern int logFileHandle;               // valid only while logFileOpen is 1
extern char logFilePath[kLogPathSize];  // the file last chosen, NUL-terminated

// Writes `count` characters of a record line (its characters and a LF) when a log is open.
void writeLogRecord(const char* line, int count);
// Closes the log when one is open; afterwards no log is open.
void closeLog();
void resetLogState();

int datafilecallback(int panel, int control, int event, void* callbackData, int eventData1,
                     int eventData2);
