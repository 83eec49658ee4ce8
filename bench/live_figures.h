// Figures of a live run that need no running tool: the log file's lines and the trend of
// resident memory over the run.
#pragma once

#include <QString>
#include <cstdio>
#include <vector>

struct LogFigures {
    long lines = 0;
    long malformed = 0;  // lines that are not one whole one-value record
};
LogFigures checkLog(const QString& path);

struct MemorySample {
    double seconds;  // since the stream started
    long residentKb;
    unsigned long records;
};

// Prints the samples (thinned to about a dozen rows) and whether resident memory grows
// with the run's length: the least-squares trend after the first fifth of the run.
void printMemoryTrend(FILE* out, const std::vector<MemorySample>& samples);
