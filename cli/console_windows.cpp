// The console on Windows: a console control handler notes Ctrl-C, Ctrl-Break and the
// console's close; _isatty.
#include "cli/console.h"

#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<bool> stopRequested{false};

BOOL WINAPI noteStop(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            stopRequested = true;
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // Windows ends the process once this returns: the run gets the time it needs
            // to send the stop pair and close its files (Windows allows five seconds).
            stopRequested = true;
            Sleep(4000);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void CatchStopRequests() {
    SetConsoleCtrlHandler(noteStop, TRUE);
}

bool StopRequested() {
    return stopRequested;
}

bool StandardInputIsTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}
