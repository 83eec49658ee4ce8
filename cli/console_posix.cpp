// The console on POSIX systems: SIGINT and SIGTERM set a flag; isatty.
#include "cli/console.h"

#include <signal.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t stopRequested = 0;

void noteStop(int) {
    stopRequested = 1;
}

}  // namespace

void CatchStopRequests() {
    struct sigaction action {};
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    // Calls the signal interrupts go on: the loop notices the flag after its current read.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
    return stopRequested != 0;
}

bool StandardInputIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}
