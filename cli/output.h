// What the command line prints: results on standard output; progress, warnings and the
// reason for every failure, in words, on standard error; and the exit status it ends with.
#pragma once

#include <string>

enum ExitStatus {
    kExitDone = 0,
    kExitRefused = 1,  // the instrument refused, a reply was wrong, or nothing was written
    kExitUsage = 2,
    kExitPortNotOpen = 3,
};

// A line of results on standard output.
void printResult(const std::string& line);
// "quorvel: <line>" on standard error.
void printProblem(const std::string& line);
// A line on standard error as it stands (an explanation under a problem).
void printExplanation(const std::string& line);
// A progress line on standard error, for an action longer than a second; none when quiet.
void printProgress(const std::string& line);
void setQuiet(bool quiet);
bool quiet();
// A wrong use of the command line: the reason and where to read more; returns kExitUsage.
int usageError(const std::string& reason);
