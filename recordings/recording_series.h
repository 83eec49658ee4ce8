// A recording as the recording chart draws it: levels over seconds since the run began (or
// record numbers), the columns filled from the min/max levels, gaps as breaks, and its
// records and times in the words the command line uses too.
#pragma once

#include <vector>

#include "recording/recording.h"
#include "recording/recording_columns.h"
#include "toolkit/panels/chart_series.h"

class RecordingSeries : public ChartSeries {
  public:
    explicit RecordingSeries(const Recording& recording) : recording_(recording) {}

    size_t size() const override { return recording_.size(); }
    double timeOf(size_t i) const override { return recording_.timeOf(i); }
    double valueOf(size_t i) const override { return recording_.level(recording_.counts[i]); }
    size_t firstAtOrAfter(double t) const override { return recording_.firstAtOrAfter(t); }
    void fillColumns(double t0, double t1, std::span<ChartColumn> columns) const override;
    QString timeText(double t, bool clock) const override;
    QString valueText(size_t i) const override;

  private:
    const Recording& recording_;
    mutable std::vector<CountsColumn> counts_;
};
