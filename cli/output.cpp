#include "cli/output.h"

#include <cstdio>

namespace {
bool quietOutput = false;

// Windows' C library buffers standard error when it is not a console (a file, a pipe), so
// a script or a service reading it would see the progress of a run only at its end.
void toStandardError(const std::string& line) {
    std::fputs((line + "\n").c_str(), stderr);
    std::fflush(stderr);
}
}  // namespace

void printResult(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void printProblem(const std::string& line) {
    toStandardError("quorvel: " + line);
}

void printExplanation(const std::string& line) {
    toStandardError(line);
}

void printProgress(const std::string& line) {
    if (!quietOutput)
        toStandardError(line);
}

void setQuiet(bool quiet) {
    quietOutput = quiet;
}

bool quiet() {
    return quietOutput;
}

int usageError(const std::string& reason) {
    printProblem(reason);
    printExplanation("Try 'quorvel --help' for the commands and options.");
    return kExitUsage;
}
