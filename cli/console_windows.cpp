// The console on Windows: a console control handler notes Ctrl-C, Ctrl-Break and the
// console's close; _isatty; standard output by its handle. A pipe whose reader has gone
// fails the write, as POSIX systems do once SIGPIPE is ignored.
#include "cli/console.h"

#include <fcntl.h>
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

bool sameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace

// A handle opened later never takes the place of a closed standard stream on Windows.
void KeepStandardStreamsClosed() {}

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

bool StandardOutputWritable() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return _fileno(stdout) >= 0 && output != nullptr && output != INVALID_HANDLE_VALUE;
}

bool ReachesStandardOutput(const std::string& path) {
    const HANDLE named = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    const bool same = sameFile(GetStdHandle(STD_OUTPUT_HANDLE), named);
    CloseHandle(named);
    return same;
}

void SetStandardOutputBinary() {
    _setmode(_fileno(stdout), _O_BINARY);
}
