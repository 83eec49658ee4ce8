// A recorded run read from a file: this tool's CSV (any version of its columns) or a raw
// log. The records are kept as columns of plain numbers, in the file's order: the time of
// each (milliseconds since the run began, or for a raw log its number), its counts, and
// with two values the second counts; beside them the stretches the run fell into (a new
// one after each lost line and return), every 1024th record's place in the file, and the
// least and greatest counts at several resolutions.
//
// Invariants: times never decrease; the first stretch starts at record 0; a level is the
// counts times the gauge length over 4095, as the live chart plots it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "recording/min_max_levels.h"
#include "recording/record_column.h"

enum class RecordingKind {
    Csv,     // this tool's CSV, with times
    RawLog,  // the records as they came, one a line, no times
};

// Where the gauge length that makes counts a level comes from.
enum class GaugeLengthSource { File, Default, Given };

inline constexpr double kDefaultGaugeLength = 2.0;
inline constexpr char kLevelUnit[] = "m";

struct Recording {
    std::string path;
    RecordingKind kind = RecordingKind::Csv;
    bool numbered = false;  // the time axis counts records: a raw log, or a CSV saved from one
    bool twoValues = false;
    bool hasStretches = false;  // the CSV has the stretch column
    std::string header;         // a CSV's header line as the file has it, without its line end
    bool crLf = false;          // the header ends with CR LF, as the window's files do
    // For a CSV with times: the calendar time (seconds since 1970 UTC) when the run began,
    // the first record's time_iso less its elapsed_s.
    double startWallTime = 0;
    double gaugeLength = kDefaultGaugeLength;
    GaugeLengthSource lengthSource = GaugeLengthSource::Default;
    // A raw log's records, readings and those out of step alike, numbered from 1.
    unsigned long long recordLines = 0;
    long long fileSize = 0;
    long long fileModified = 0;  // milliseconds since 1970

    RecordColumn<uint32_t> times;  // milliseconds since the run began, or the record's number
    Counts counts;
    Counts counts2;                       // with two values
    std::vector<size_t> stretchStarts;    // the first record of each stretch
    std::vector<long long> stretchNames;  // the number the file gives each stretch
    std::vector<long long> rowOffsets;    // where record 1024 k begins in the file
    MinMaxLevels levels;
    std::vector<std::string> notes;  // what the page and the command line say of the file

    size_t size() const { return counts.size(); }
    bool empty() const { return counts.empty(); }
    // Seconds since the run began, or the record's number.
    double timeOf(size_t i) const;
    // The first record at or after `t`, and the first after it (size() when none).
    size_t firstAtOrAfter(double t) const;
    size_t firstAfter(double t) const;
    // The stretch (0 for the first) that record `i` is in.
    size_t stretchOf(size_t i) const;
    float level(uint16_t counts) const;
    // The level of a count that need not be whole (a mean), unrounded.
    double levelOf(double counts) const;
    float secondValue(size_t i) const;
    size_t bytes() const;
};

inline constexpr size_t kRowsPerOffset = 1024;
