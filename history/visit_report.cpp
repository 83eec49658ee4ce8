#include "history/visit_report.h"

#include <QSaveFile>
#include <algorithm>
#include <cstdlib>

#include "history/instrument_overview.h"
#include "link/block_fields.h"
#include "toolkit/platform/file_system.h"

namespace {

std::string spanStart(const CalendarTime& since) {
    return FormatDateMinute(since) + ":00";
}

bool inSpan(const std::string& time, const VisitReportInput& input) {
    return time >= spanStart(input.since) && time <= FormatDateTime(input.until);
}

std::vector<std::string> fieldLines(const std::string& text) {
    std::vector<std::string> lines;
    for (const BlockFieldView& view : blockFieldViews())
        lines.push_back(std::string(view.name) + ": " + view.show(text.c_str()));
    return lines;
}

std::string entryWords(const HistoryEntry& entry) {
    if (entry.stage == kWrittenStage)
        return "written at " + entry.time + " by the " + entry.action;
    if (entry.stage == kBeforeStage)
        return "read at " + entry.time + ", before the " + entry.action;
    return "read at " + entry.time + " (" + entry.action + ")";
}

std::string driftWords(const std::string& seconds) {
    return seconds.empty() ? std::string("not compared with this computer")
                           : driftFromComputerWords(std::atoll(seconds.c_str()));
}

ReportSection settingsSection(const char* title, const HistoryEntry* entry) {
    ReportSection section{title, {}};
    if (!entry) {
        section.lines.push_back("no settings were read in this visit");
        return section;
    }
    section.lines.push_back(entryWords(*entry));
    for (std::string& line : fieldLines(entry->text)) section.lines.push_back(std::move(line));
    return section;
}

ReportSection changesSection(const std::vector<const HistoryEntry*>& entries) {
    ReportSection section{"Changes", {}};
    for (size_t i = 0; i < entries.size(); ++i) {
        const HistoryEntry& written = *entries[i];
        if (written.stage != kWrittenStage)
            continue;
        section.lines.push_back(written.time + " " + written.action + ":");
        const HistoryEntry* before = nullptr;
        for (size_t j = i; j-- > 0;)
            if (entries[j]->stage == kBeforeStage && entries[j]->action == written.action) {
                before = entries[j];
                break;
            }
        if (!before) {
            section.lines.push_back("  the settings before it were not kept");
            continue;
        }
        const std::vector<std::string> changed =
            changedFields(before->text.c_str(), written.text.c_str());
        if (changed.empty())
            section.lines.push_back("  no field changed");
        for (const std::string& line : changed) section.lines.push_back("  " + line);
    }
    if (section.lines.empty())
        section.lines.push_back("no settings were written in this visit");
    return section;
}

std::vector<std::string> traceLines(const std::string& trace) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < trace.size()) {
        size_t end = trace.find('\n', from);
        if (end == std::string::npos)
            end = trace.size();
        std::string line = trace.substr(from, end - from);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back("    " + line);
        from = end + 1;
    }
    return lines;
}

void noteLines(const HistoryNote& note, ReportSection& clocks, ReportSection& calibrations,
               ReportSection& runs) {
    if (note.kind == kClockReadNote) {
        clocks.lines.push_back(note.time + " clock read: " + note.fact("instrument") +
                               " on the instrument, " + driftWords(note.fact("drift")));
    } else if (note.kind == kClockSetNote) {
        std::string line = note.time + " clock set to " + note.fact("set");
        if (!note.fact("was").empty())
            line += "; it showed " + note.fact("was") + " before";
        clocks.lines.push_back(line);
    } else if (note.kind == kCalibrationNote) {
        calibrations.lines.push_back(
            note.time + " gauge length " + note.fact("length") + ", type " + note.fact("type") +
            ": level A " + note.fact("level A") + " at reading " + note.fact("reading A") +
            ", level B " + note.fact("level B") + " at reading " + note.fact("reading B") +
            "; gain " + note.fact("gain") + " → " + note.fact("new gain") + ", zero " +
            note.fact("zero") + " → " + note.fact("new zero"));
        const std::vector<std::string> trace = traceLines(note.fact("trace"));
        if (!trace.empty())
            calibrations.lines.push_back("  trace:");
        calibrations.lines.insert(calibrations.lines.end(), trace.begin(), trace.end());
    } else if (note.kind == kLiveRunNote) {
        const std::string files = note.fact("files");
        runs.lines.push_back(note.fact("start") + " to " + note.fact("end") + ": " +
                             note.fact("records") + " records, " + note.fact("out of step") +
                             " out of step; " +
                             (files.empty() ? std::string("no file written") : "files " + files));
    }
}

std::string escapeHtml(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (c == '&')
            escaped += "&amp;";
        else
            escaped += c;
    }
    return escaped;
}

}  // namespace

VisitReport buildVisitReport(const VisitReportInput& input) {
    VisitReport report;
    report.title = "Visit report: Quorvel " + input.serialNumber;
    std::vector<const HistoryEntry*> entries;
    std::vector<const HistoryNote*> notes;
    std::string port;
    if (input.history) {
        for (const HistoryEntry& entry : input.history->entries)
            if (inSpan(entry.time, input)) {
                entries.push_back(&entry);
                port = entry.port;
            }
        for (const HistoryNote& note : input.history->notes)
            if (inSpan(note.time, input)) {
                notes.push_back(&note);
                if (port.empty())
                    port = note.port;
            }
    }
    report.head = {
        "Computer: " + input.computer,
        "Visit: " + FormatDateMinute(input.since) + " to " + FormatDateMinute(input.until),
        "Instrument: Quorvel " + input.serialNumber +
            (port.empty() ? std::string(", port not known") : " on " + port)};

    const HistoryEntry* found = nullptr;
    for (const HistoryEntry* entry : entries)
        if (entry->stage != kWrittenStage) {
            found = entry;
            break;
        }
    report.sections.push_back(settingsSection("Settings as found", found));
    report.sections.push_back(changesSection(entries));
    ReportSection clocks{"Clock checks", {}}, calibrations{"Calibrations", {}};
    ReportSection runs{"Live runs", {}};
    for (const HistoryNote* note : notes) noteLines(*note, clocks, calibrations, runs);
    if (clocks.lines.empty())
        clocks.lines.push_back("no clock read or set in this visit");
    if (calibrations.lines.empty())
        calibrations.lines.push_back("no calibration in this visit");
    if (runs.lines.empty())
        runs.lines.push_back("no live run in this visit");
    report.sections.push_back(std::move(clocks));
    report.sections.push_back(std::move(calibrations));
    report.sections.push_back(std::move(runs));
    report.sections.push_back(
        settingsSection("Settings as left", entries.empty() ? nullptr : entries.back()));
    return report;
}

std::string visitReportText(const VisitReport& report) {
    std::string text = report.title + "\n";
    for (const std::string& line : report.head) text += line + "\n";
    for (const ReportSection& section : report.sections) {
        text += "\n" + section.title + "\n";
        for (const std::string& line : section.lines) text += "  " + line + "\n";
    }
    return text;
}

std::string visitReportHtml(const VisitReport& report) {
    std::string html = "<html><body><h1>" + escapeHtml(report.title) + "</h1><p>";
    for (const std::string& line : report.head) html += escapeHtml(line) + "<br>";
    html += "</p>";
    for (const ReportSection& section : report.sections) {
        html += "<h2>" + escapeHtml(section.title) + "</h2><p>";
        for (const std::string& line : section.lines) {
            const size_t indent = line.find_first_not_of(' ');
            std::string shown;
            for (size_t i = 0; i < indent && indent != std::string::npos; ++i) shown += "&nbsp;";
            html +=
                shown + escapeHtml(line.substr(indent == std::string::npos ? 0 : indent)) + "<br>";
        }
        html += "</p>";
    }
    return html + "</body></html>";
}

CalendarTime lastDayStart(const HistoryFile& history, const CalendarTime& until) {
    std::string newest;
    for (const HistoryEntry& entry : history.entries) newest = std::max(newest, entry.time);
    for (const HistoryNote& note : history.notes) newest = std::max(newest, note.time);
    CalendarTime start = until;
    if (const auto parsed = ParseDateTime(newest, true))
        start = *parsed;
    start.hour = start.minute = start.second = 0;
    return start;
}

std::string saveReportText(const std::string& path, const std::string& text) {
    const PathKind kind = GetPathKind(path.c_str());
    if (kind != PathKind::Absent && kind != PathKind::Regular)
        return path + " is " + PathKindWords(kind);
    QSaveFile out(QString::fromStdString(path));
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !out.commit())
        return "cannot write " + path + ": " + out.errorString().toStdString();
    return {};
}
