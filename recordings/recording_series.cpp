#include "recordings/recording_series.h"

#include "recording/recording_summary.h"

void RecordingSeries::fillColumns(double t0, double t1, std::span<ChartColumn> columns) const {
    counts_.resize(columns.size());
    fillCountsColumns(recording_, t0, t1, counts_);
    for (size_t i = 0; i < columns.size(); ++i) {
        const CountsColumn& c = counts_[i];
        columns[i] = {c.any,
                      recording_.level(c.first),
                      recording_.level(c.last),
                      recording_.level(c.min),
                      recording_.level(c.max),
                      c.breakBefore};
    }
}

QString RecordingSeries::timeText(double t, bool clock) const {
    return QString::fromStdString(
        ::timeText(recording_, t, clock ? TimeShown::Clock : TimeShown::SinceStart));
}

QString RecordingSeries::valueText(size_t i) const {
    std::string text = levelText(recording_.level(recording_.counts[i])) + " (" +
                       std::to_string(recording_.counts[i]) + " counts)";
    if (recording_.twoValues)
        text +=
            ", second value " + QString::number(recording_.secondValue(i), 'g', 6).toStdString();
    return QString::fromStdString(text);
}
