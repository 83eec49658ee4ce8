// The report of a visit to an instrument, made from its settings history: what was found,
// what was changed, the readings taken and what was left. The window writes it as a PDF
// and as plain text, the command line as plain text; both take the words from here.
//
// A visit is a span of this computer's time: from `since` (the Connect, or a time the
// operator gives) to `until`. Entries and notes are taken by the time they were kept.
#pragma once

#include <string>
#include <vector>

#include "history/history.h"
#include "toolkit/platform/calendar.h"

struct VisitReportInput {
    std::string computer;      // this computer's name
    std::string serialNumber;  // the instrument; its port comes from the history
    const HistoryFile* history{};
    CalendarTime since;
    CalendarTime until;
};

struct ReportSection {
    std::string title;
    std::vector<std::string> lines;
};

struct VisitReport {
    std::string title;              // "Visit report: Quorvel QV-0000012345"
    std::vector<std::string> head;  // computer, span, instrument and port
    std::vector<ReportSection> sections;
};

VisitReport buildVisitReport(const VisitReportInput& input);
// The report as plain text: the title, the head, then each section under its title with
// its lines indented by two blanks; lines end in a line feed.
std::string visitReportText(const VisitReport& report);
// The report as HTML for a QTextDocument (printed to a PDF): the same words.
std::string visitReportHtml(const VisitReport& report);

// Writes `text` to `path` whole or not at all; why it could not, or empty.
std::string saveReportText(const std::string& path, const std::string& text);

// Where a visit begins when none is given: the start of the last day with an entry or a
// note in the history (this computer's calendar), or `until`'s day when it has none.
CalendarTime lastDayStart(const HistoryFile& history, const CalendarTime& until);
