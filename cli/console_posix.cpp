// The console on POSIX systems: SIGINT, SIGTERM and SIGHUP set a flag, SIGPIPE is ignored;
// isatty; descriptors 0 to 2 looked at with fcntl and fstat.
#include "cli/console.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t stopRequested = 0;

void noteStop(int) {
    stopRequested = 1;
}

bool isOpen(int descriptor) {
    return fcntl(descriptor, F_GETFD) != -1;
}

}  // namespace

void KeepStandardStreamsClosed() {
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (isOpen(descriptor))
            continue;
        // The lowest free descriptor is the one just found closed.
        const int standIn = open("/dev/null", O_RDONLY);
        if (standIn >= 0 && standIn != descriptor) {
            dup2(standIn, descriptor);
            close(standIn);
        }
    }
}

void CatchStopRequests() {
    struct sigaction action {};
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    // Calls the signal interrupts go on: the loop notices the flag after its current read.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed terminal or a dropped ssh session.
    sigaction(SIGHUP, &action, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
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

bool StandardOutputWritable() {
    const int flags = fcntl(STDOUT_FILENO, F_GETFL);
    return flags != -1 && (flags & O_ACCMODE) != O_RDONLY;
}

bool ReachesStandardOutput(const std::string& path) {
    struct stat output {
    }, named{};
    return fstat(STDOUT_FILENO, &output) == 0 && stat(path.c_str(), &named) == 0 &&
           output.st_dev == named.st_dev && output.st_ino == named.st_ino;
}

void SetStandardOutputBinary() {}
