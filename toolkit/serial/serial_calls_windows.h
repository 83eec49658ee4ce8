// The system's calls a COM port line makes, in a table the line calls through, so that a
// test can put a device of its own behind them: one that fails as a USB adapter pulled out
// of the computer fails, which no machine of the test's can do on demand.
//
// A line takes the table in force when it opens and keeps it until it closes, so a line
// opened on fakes is also closed by them. GetLastError stays the system's: a fake that
// fails says why with SetLastError, as the system's call does.
#pragma once

#include <windows.h>

struct Win32SerialCalls {
    decltype(&CreateFileW) createFile = &CreateFileW;
    decltype(&CloseHandle) closeHandle = &CloseHandle;
    decltype(&SetupComm) setupComm = &SetupComm;
    decltype(&GetCommState) getCommState = &GetCommState;
    decltype(&SetCommState) setCommState = &SetCommState;
    decltype(&SetCommTimeouts) setCommTimeouts = &SetCommTimeouts;
    decltype(&PurgeComm) purgeComm = &PurgeComm;
    decltype(&ReadFile) readFile = &ReadFile;
    decltype(&WriteFile) writeFile = &WriteFile;
    decltype(&ClearCommError) clearCommError = &ClearCommError;
};

// The calls the lines opened from now on make; the system's own unless a test set others.
const Win32SerialCalls& SerialCalls();
// Sets the calls of the lines opened from now on; Win32SerialCalls{} is the system's.
void SetSerialCalls(const Win32SerialCalls& calls);
