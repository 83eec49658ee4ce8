// "Save visit report…": the report of a visit (history/visit_report.h) as a PDF and, beside
// it, the same in plain text, each written whole or not at all. The messages say where.
#pragma once

#include <string>

#include "toolkit/platform/calendar.h"

// Asks where to save, then writes the report of the instrument `serialNumber` from its
// history file `historyPath`, from `since` to now. False when nothing was saved (cancelled,
// or the messages say why).
bool saveVisitReport(const std::string& historyPath, const std::string& serialNumber,
                     const CalendarTime& since);
// The text file written beside a PDF: "visit.pdf" gives "visit.txt".
std::string reportTextPathFor(const std::string& pdfPath);
