// What each pixel column of a chart shows of a recording over a span of time: the counts
// of the records that fall into it (first, last, least, greatest), from the records
// themselves or from the min/max levels, at most a few dozen pieces a column however long
// the span. A column whose records follow a gap between stretches is marked, so the trace
// breaks there instead of joining the stretches with a straight line.
#pragma once

#include <cstdint>
#include <span>

struct Recording;

struct CountsColumn {
    bool any = false;
    bool breakBefore = false;  // a gap lies between it and the column before that holds records
    uint16_t first = 0, last = 0, min = 0, max = 0;
    size_t firstStretch = 0, lastStretch = 0;
};

// Splits [t0, t1] into `columns.size()` columns of equal time and fills them.
void fillCountsColumns(const Recording& recording, double t0, double t1,
                       std::span<CountsColumn> columns);
