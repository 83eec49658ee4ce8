#include "cli/summary_command.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <optional>

#include "cli/invocation.h"
#include "cli/output.h"
#include "recording/recording_reader.h"
#include "recording/recording_summary.h"

namespace {

// A time of the command line: seconds since the run's start (a raw log: a record number),
// or for a CSV with times a date and time of this computer's clock.
std::optional<double> timeGiven(const std::string& text, const Recording& r) {
    bool number = false;
    const double value = QString::fromStdString(text).toDouble(&number);
    if (number && std::isfinite(value))
        return value;
    if (r.numbered)
        return std::nullopt;
    for (const char* format :
         {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm"}) {
        const QDateTime at =
            QDateTime::fromString(QString::fromStdString(text), QString::fromLatin1(format));
        if (at.isValid())
            return at.toMSecsSinceEpoch() / 1000.0 - r.startWallTime;
    }
    return std::nullopt;
}

// Four decimals, as the summary's words and the CSV show a level.
double rounded(double level) {
    return std::round(level * 10000) / 10000;
}

QJsonValue jsonTime(const Recording& r, double t) {
    if (r.numbered)
        return QJsonObject{{"record", static_cast<qint64>(std::llround(t))}};
    return QJsonObject{{"seconds", std::round(t * 1000) / 1000},
                       {"time_iso", QString::fromStdString(isoTimeText(r, t))}};
}

void printJson(const Recording& r, const RecordingSummary& s) {
    QJsonObject o{
        {"file", QString::fromStdString(r.path)},
        {"kind", r.kind == RecordingKind::RawLog ? "raw log" : "csv"},
        {"values", r.twoValues ? 2 : 1},
        {"span", QJsonObject{{"from", jsonTime(r, s.from)}, {"to", jsonTime(r, s.to)}}},
        {"records", static_cast<qint64>(s.records)},
        {"stretches", s.stretches ? QJsonValue(static_cast<qint64>(*s.stretches)) : QJsonValue()},
        {"records_out_of_step",
         s.outOfStep ? QJsonValue(static_cast<qint64>(*s.outOfStep)) : QJsonValue()},
        {"gauge_length", r.gaugeLength},
        {"gauge_length_from", r.lengthSource == GaugeLengthSource::File    ? "file"
                              : r.lengthSource == GaugeLengthSource::Given ? "given"
                                                                           : "default"},
        {"level_unit", kLevelUnit},
    };
    if (s.records > 0) {
        o["first"] = jsonTime(r, s.first);
        o["last"] = jsonTime(r, s.last);
        o["level_min"] = rounded(s.least);
        o["level_max"] = rounded(s.greatest);
        o["level_mean"] = rounded(s.mean);
    }
    QJsonArray notes;
    for (const std::string& note : r.notes) notes.append(QString::fromStdString(note));
    o["notes"] = notes;
    printResult(QJsonDocument(o).toJson(QJsonDocument::Indented).trimmed().toStdString());
}

// "0.105 s (2026-12-08 15:05:00.105)", or "record 12".
std::string bothTimes(const Recording& r, double t) {
    if (r.numbered)
        return timeText(r, t, TimeShown::SinceStart);
    return timeText(r, t, TimeShown::SinceStart) + " (" + timeText(r, t, TimeShown::Clock) + ")";
}

void printLines(const Recording& r, const RecordingSummary& s) {
    printResult("file: " + r.path);
    printResult("kind: " + recordingKindText(r));
    printResult("span: " + bothTimes(r, s.from) + " to " + bothTimes(r, s.to));
    printResult("records: " + std::to_string(s.records));
    if (s.records > 0) {
        printResult("first: " + bothTimes(r, s.first));
        printResult("last: " + bothTimes(r, s.last));
        printResult("minimum level: " + levelText(s.least));
        printResult("maximum level: " + levelText(s.greatest));
        printResult("mean level: " + levelText(s.mean));
    }
    if (s.stretches)
        printResult("stretches: " + std::to_string(*s.stretches));
    printResult(outOfStepText(s));
    printResult("gauge length: " + gaugeLengthText(r));
    for (const std::string& note : r.notes) printResult("note: " + note);
}

}  // namespace

int runSummary(const Invocation& invocation) {
    const std::string& path = invocation.arguments[0];
    RecordingRead read = readRecording(path);
    if (!read.recording) {
        printProblem("recording not opened: " + recordingProblem(path, read.refusal));
        return kExitUsage;
    }
    Recording& r = *read.recording;
    if (invocation.length) {
        if (r.kind != RecordingKind::RawLog)
            return usageError("--length is for a raw log: a CSV's levels name their gauge length");
        r.gaugeLength = *invocation.length;
        r.lengthSource = GaugeLengthSource::Given;
    }
    const RecordingSummary whole = summarizeAll(r);
    double from = whole.from, to = whole.to;
    const char* wanted = r.numbered ? "a record number"
                                    : "seconds since the run's start or a date and time "
                                      "(YYYY-MM-DD HH:MM:SS, this computer's time)";
    for (const auto& [given, name, into] :
         {std::tuple{&invocation.from, "--from", &from}, std::tuple{&invocation.to, "--to", &to}}) {
        if (!*given)
            continue;
        const std::optional<double> t = timeGiven(**given, r);
        if (!t)
            return usageError(std::string(name) + " needs " + wanted);
        *into = *t;
    }
    if (from > to)
        return usageError("--from comes after --to");
    const RecordingSummary s = summarize(r, from, to);
    if (invocation.json)
        printJson(r, s);
    else
        printLines(r, s);
    return kExitDone;
}
