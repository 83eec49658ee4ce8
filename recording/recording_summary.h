// The summary of the records within a span of a recording: its first and last time, how
// many records, the least, greatest and mean level, the stretches, and the records out of
// step where the file keeps them (a raw log does, a CSV does not). The window shows it
// under the chart (and as the chart's accessible description), the command line prints it;
// both in the words made here.
#pragma once

#include <optional>
#include <string>

#include "recording/recording.h"

struct RecordingSummary {
    double from = 0, to = 0;  // the span asked for
    size_t records = 0;
    double first = 0, last = 0;  // the times of the first and last record in the span
    float least = 0, greatest = 0;
    double mean = 0;
    std::optional<size_t> stretches;              // with the stretch column
    std::optional<unsigned long long> outOfStep;  // a raw log's
};

// The records with times in [from, to].
RecordingSummary summarize(const Recording& recording, double from, double to);
RecordingSummary summarizeAll(const Recording& recording);

enum class TimeShown { SinceStart, Clock };

// "12.345 s", "record 12", or the clock: "2026-12-08 14:05:00.125" (this computer's time).
std::string timeText(const Recording& recording, double t, TimeShown shown);
// The calendar time of `t`, UTC ("2026-12-08T14:05:00.125Z"); empty for numbered records.
std::string isoTimeText(const Recording& recording, double t);
std::string levelText(double level);  // "1.2345 m"
// "5 records", "2 stretches", "records out of step: 3" and the like.
std::string recordsText(size_t records);
std::string stretchesText(size_t stretches);
std::string outOfStepText(const RecordingSummary& summary);
// What the file is: "CSV, two values, 3 stretches, 115200 records", "raw log, one value, …".
std::string recordingKindText(const Recording& recording);
// Where its gauge length comes from: "2.0 m, from the file's levels", "2.0 m, the default".
std::string gaugeLengthText(const Recording& recording);
// The whole summary in one line.
std::string summaryLine(const Recording& recording, const RecordingSummary& summary,
                        TimeShown shown);
