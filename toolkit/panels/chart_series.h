// What the recording chart draws: records in time order, each with a time (seconds, or a
// record's number) and a value, that fill a row of pixel columns over any span themselves
// (so a day of records draws from a few thousand pieces) and put their own records and
// times into words. The chart knows nothing else of them.
#pragma once

#include <QString>
#include <cstddef>
#include <span>

#include "toolkit/panels/chart_history.h"

class ChartSeries {
  public:
    virtual ~ChartSeries() = default;
    virtual size_t size() const = 0;
    virtual double timeOf(size_t i) const = 0;
    virtual double valueOf(size_t i) const = 0;
    // The first record at or after `t`; size() when there is none.
    virtual size_t firstAtOrAfter(double t) const = 0;
    // Splits [t0, t1] into the columns and fills each, gaps marked as breaks.
    virtual void fillColumns(double t0, double t1, std::span<ChartColumn> columns) const = 0;
    // "12.345 s", "record 12", or with `clock` the time of day.
    virtual QString timeText(double t, bool clock) const = 0;
    // "1.0002 m (2048 counts)".
    virtual QString valueText(size_t i) const = 0;
};
