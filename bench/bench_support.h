// What the benchmarks add to the harness core (quorvel-sim as a child process, the operator
// at the widgets, recorded pop-ups): the pop-up answers and failure reports a benchmark
// wants, and the process's own clock, CPU time and memory.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tests/harness/operator.h"
#include "tests/harness/popups.h"
#include "tests/harness/sim_process.h"

// Stops quorvel-sim; the live records it reports having sent, or -1 when it said nothing.
long stopAndCountRecords(SimProcess& sim);

// The operator at pop-ups: messages are noted on stderr, the file chooser picks `logPath`.
RecordingPopups benchPopups(std::string logPath = {});
// What the operator could not do (a control out of reach) is noted on stderr after
// `program`'s name; the benchmark notices the step that missed by its result.
void printHarnessFailures(const char* program);

// Drops the offscreen platform's notes about window features it lacks, which say nothing
// about the tool; every other message goes through.
void quietPlatformNotes();

// The stream for the benchmark's own figures: the original stdout. The process's stdout
// then goes to /dev/null, so the tool's trace lines do not mix with the figures.
FILE* reportStream();

double monotonicSeconds();  // CLOCK_MONOTONIC, comparable between processes
// User and system time of this process so far.
struct CpuTime {
    double user = 0;
    double system = 0;
};
CpuTime cpuTime();
long residentKb();      // VmRSS of this process, -1 when unknown
long peakResidentKb();  // VmHWM of this process, -1 when unknown

// Starts the tool against `sim` on COM1, as a benchmark does before it measures; false,
// having said why on stderr after `program`'s name, when either did not start.
bool startToolAgainst(SimProcess& sim, const char* program);

double median(std::vector<double> values);
