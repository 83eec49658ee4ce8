// Recordings as this tool writes them, made for tests and benchmarks: a CSV whose lines are
// the live log's own (link/record_csv), stored as the window's logs store them (CR LF),
// with the stretch column when asked; and raw logs.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct MadeRecording {
    double seconds = 600;
    double rate = 192;  // records a second, the line rate at 9600 baud
    bool twoValues = false;
    bool stretches = false;  // a stretch column, numbered anew after each gap
    struct Gap {
        double at, length;  // seconds since the run began
    };
    std::vector<Gap> gaps;
    double gaugeLength = 2.0;
    double startWallTime = 1796738700;  // 2026-12-08 14:05:00 UTC
    // The counts of record `i`; unless given, a slow wave with one spike.
    std::function<int(long long i)> counts;
};

// Writes the CSV; false when it could not be written. `records` gets the count written.
bool writeCsvRecording(const std::string& path, const MadeRecording& made,
                       long long* records = nullptr);
// The CSV text of a few records given as (elapsed seconds, counts), one value, as CSVs
// were written before they numbered the stretches of a run.
std::string csvText(const std::vector<std::pair<double, int>>& records, double gaugeLength = 2.0);
