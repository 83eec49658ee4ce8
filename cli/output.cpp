#include "cli/output.h"

#include <cstdio>

namespace {
bool quietOutput = false;
}  // namespace

void printResult(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void printProblem(const std::string& line) {
    std::fputs(("quorvel: " + line + "\n").c_str(), stderr);
}

void printExplanation(const std::string& line) {
    std::fputs((line + "\n").c_str(), stderr);
}

void printProgress(const std::string& line) {
    if (!quietOutput)
        std::fputs((line + "\n").c_str(), stderr);
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
