// The CSV form of live records, the same wherever it is written (the window's CSV beside
// its log, the command line's standard output or file): a header naming the columns, then
// one line per reading:
//   time_iso,elapsed_s,counts,level,stretch                  (one value)
//   time_iso,elapsed_s,counts,level,counts2,value2,stretch   (two values)
// time_iso is UTC to the millisecond ("2026-12-08T14:05:00.125Z"), elapsed_s the seconds
// since the run began, level the counts in length units, value2 the second value, stretch
// the run's stretch the record came in: 1 from the start, one more after each lost line
// the run went on from, so a gap shows without guessing from the times.
#pragma once

#include <string>

struct LiveRecord;

// The header line, with its line feed.
std::string csvHeader(bool twoValues);
// The line of a record taken `elapsed` seconds into the run at calendar time `wallTime`
// (seconds since 1970 UTC) in its `stretch`, with its line feed.
std::string csvLine(const LiveRecord& record, double elapsed, double wallTime, int stretch);
