#include "recording/recording_summary.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

QDateTime calendarTime(const Recording& recording, double t) {
    const auto ms = static_cast<qint64>(std::llround((recording.startWallTime + t) * 1000));
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

}  // namespace

RecordingSummary summarize(const Recording& recording, double from, double to) {
    RecordingSummary s;
    s.from = from;
    s.to = to;
    const size_t first = recording.firstAtOrAfter(from);
    const size_t end = std::max(first, recording.firstAfter(to));
    s.records = end - first;
    if (recording.kind == RecordingKind::RawLog) {
        const double lowest = std::max(1.0, std::ceil(from));
        const double highest = std::min(static_cast<double>(recording.recordLines), std::floor(to));
        const double lines = highest >= lowest ? highest - lowest + 1 : 0;
        s.outOfStep = static_cast<unsigned long long>(lines) - s.records;
    }
    if (s.records == 0)
        return s;
    s.first = recording.timeOf(first);
    s.last = recording.timeOf(end - 1);
    const CountsRange range = recording.levels.range(recording.counts, first, end);
    s.least = recording.level(range.min);
    s.greatest = recording.level(range.max);
    s.mean = recording.levelOf(static_cast<double>(range.sum) / static_cast<double>(range.rows));
    if (recording.hasStretches)
        s.stretches = recording.stretchOf(end - 1) - recording.stretchOf(first) + 1;
    return s;
}

RecordingSummary summarizeAll(const Recording& recording) {
    if (recording.kind == RecordingKind::RawLog)
        return summarize(recording, 1, static_cast<double>(recording.recordLines));
    if (recording.empty())
        return summarize(recording, 0, 0);
    return summarize(recording, recording.timeOf(0), recording.timeOf(recording.size() - 1));
}

std::string timeText(const Recording& recording, double t, TimeShown shown) {
    if (recording.numbered)
        return "record " + fixed(t, 0);
    if (shown == TimeShown::SinceStart)
        return fixed(t, 3) + " s";
    return calendarTime(recording, t)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
        .toStdString();
}

std::string isoTimeText(const Recording& recording, double t) {
    if (recording.numbered)
        return {};
    return calendarTime(recording, t)
        .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"))
        .toStdString();
}

std::string levelText(double level) {
    return fixed(level, 4) + " " + kLevelUnit;
}

std::string recordsText(size_t records) {
    return std::to_string(records) + (records == 1 ? " record" : " records");
}

std::string stretchesText(size_t stretches) {
    return std::to_string(stretches) + (stretches == 1 ? " stretch" : " stretches");
}

std::string outOfStepText(const RecordingSummary& summary) {
    return "records out of step: " + (summary.outOfStep ? std::to_string(*summary.outOfStep)
                                                        : std::string("not kept in a CSV"));
}

std::string recordingKindText(const Recording& r) {
    std::string words = r.kind == RecordingKind::RawLog ? "raw log" : "CSV";
    words += r.twoValues ? ", two values" : ", one value";
    if (r.hasStretches)
        words += ", " + stretchesText(r.stretchStarts.size());
    return words + ", " + recordsText(r.size());
}

std::string gaugeLengthText(const Recording& r) {
    const std::string length = fixed(r.gaugeLength, 1) + " " + kLevelUnit;
    switch (r.lengthSource) {
        case GaugeLengthSource::File:
            return length + ", from the file's levels";
        case GaugeLengthSource::Given:
            return length + ", as given";
        case GaugeLengthSource::Default:
            break;
    }
    return length + ", the default";
}

std::string summaryLine(const Recording& recording, const RecordingSummary& s, TimeShown shown) {
    if (s.records == 0) {
        std::string line = "From " + timeText(recording, s.from, shown) + " to " +
                           timeText(recording, s.to, shown) + ": no records";
        return s.outOfStep ? line + "; " + outOfStepText(s) : line;
    }
    std::string line = "From " + timeText(recording, s.first, shown) + " to " +
                       timeText(recording, s.last, shown) + ": " + recordsText(s.records) +
                       "; level min " + levelText(s.least) + ", max " + levelText(s.greatest) +
                       ", mean " + levelText(s.mean);
    if (s.stretches)
        line += "; " + stretchesText(*s.stretches);
    return line + "; " + outOfStepText(s);
}
