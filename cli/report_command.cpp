#include "cli/report_command.h"

#include <QString>
#include <QSysInfo>
#include <optional>
#include <string>

#include "cli/invocation.h"
#include "cli/output.h"
#include "cli/session.h"
#include "history/history.h"
#include "history/visit_report.h"
#include "link/link_state.h"
#include "toolkit/platform/calendar.h"

int runReport(const Invocation& invocation) {
    std::optional<CalendarTime> since;
    if (invocation.since) {
        since = ParseDateTime(*invocation.since, false);
        if (!since)
            return usageError(
                "--since needs a date and time \"YYYY-MM-DD HH:MM\" that exists, not \"" +
                *invocation.since + "\"");
    }
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    const HistoryFile history = loadHistory(currentHistoryFilePath());
    for (const std::string& note : historyNotes(history)) printProblem(note);
    const CalendarTime now = ComputerLocalTime();
    VisitReportInput input;
    input.computer = QSysInfo::machineHostName().toStdString();
    input.serialNumber = identifiedSerialNumber;
    input.history = &history;
    input.since = since ? *since : lastDayStart(history, now);
    input.until = now;
    const std::string text = visitReportText(buildVisitReport(input));
    if (!invocation.out) {
        printResult(text.substr(0, text.size() - 1));  // its last line end is printResult's
        return kExitDone;
    }
    if (const std::string problem = saveReportText(*invocation.out, text); !problem.empty()) {
        printProblem("report not written: " + problem);
        return kExitRefused;
    }
    printProgress("report written to " + *invocation.out);
    return kExitDone;
}
