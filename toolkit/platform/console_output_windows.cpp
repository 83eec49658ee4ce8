// Windows: a program without a console of its own has no standard output unless it was
// redirected; one started from cmd or PowerShell joins that console to print there.
#include "toolkit/platform/console_output.h"

#include <windows.h>

#include <cstdio>

void ReachStartingConsole() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE)
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (std::freopen("CONOUT$", "w", stdout))
        (void)std::freopen("CONOUT$", "w", stderr);
}
