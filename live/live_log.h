// The data log: the file the operator chose for the raw live records, and the timestamped
// CSV file beside it.
//
// A log is open from a file choice (or, with "log every run", from the start of a run)
// until the run is stopped, the operator returns, the live panel closes or the panel is
// left during a run. While it is open, logFileHandle is a handle the file library gave; a
// log that could not be opened is never counted as open. Only a regular file, or a name
// that is free, can be chosen: a FIFO or a device could block the window on every write.
//
// Records are written in batches, at most a fraction of a second after they were taken,
// and whatever is still pending when a log closes is written then. A write that fails or
// stores less than it was given ends logging (both files) with one line naming the file
// and the reason; what was written before stays, and the run goes on. So does a file that
// is deleted, or whose folder is removed, while it is open: looked at once a batch.
#pragma once

#include "toolkit/panels/userint.h"

struct LiveRecord;

inline constexpr int kLogPathSize = 512;

extern int logFileOpen;                 // 1 while records are written to the log
extern int logFileHandle;               // valid only while logFileOpen is 1
extern char logFilePath[kLogPathSize];  // the file last chosen, NUL-terminated
extern int csvFileOpen;                 // 1 while the CSV beside the log is written
extern char csvFilePath[kLogPathSize];

// The raw log line of a record: its `count` characters exactly as they came (line ends,
// NUL and every other byte included), then the log's own line end, CR LF.
void writeLogRecord(const char* characters, int count);
// The CSV line of a record taken `elapsed` seconds into the run at calendar time `wallTime`,
// in the run's `stretch` (1, and one more after each lost line the run went on from).
void writeCsvRecord(const LiveRecord& record, double elapsed, double wallTime, int stretch);
// With "log every run" ticked on the live panel and no log open, opens a log of a fresh
// name (and its CSV) in the directory of the last one.
void openLogForRun();
// Writes what is pending and closes both files when open; afterwards no log is open.
void closeLog();
void resetLogState();

CtrlCallback datafilecallback;
