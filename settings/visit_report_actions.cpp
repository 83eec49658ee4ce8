#include "settings/visit_report_actions.h"

#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <QSysInfo>
#include <QTextDocument>

#include "feedback/messages.h"
#include "history/history.h"
#include "history/visit_report.h"
#include "toolkit/panels/userint.h"

namespace {

constexpr int kPathSize = 512;

void say(const std::string& line) {
    addMessageText(line.c_str());
    showMessages();
}

// The PDF through a QSaveFile: the file appears only once the whole document is in it.
std::string savePdf(const std::string& path, const VisitReport& report) {
    QSaveFile out(QString::fromStdString(path));
    if (!out.open(QIODevice::WriteOnly))
        return "cannot write " + path + ": " + out.errorString().toStdString();
    {
        QPdfWriter pdf(&out);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(150);
        pdf.setTitle(QString::fromStdString(report.title));
        pdf.setCreator(QStringLiteral("Quorvel"));
        QTextDocument document;
        document.setHtml(QString::fromStdString(visitReportHtml(report)));
        document.print(&pdf);
    }
    if (!out.commit())
        return "cannot write " + path + ": " + out.errorString().toStdString();
    return {};
}

}  // namespace

std::string reportTextPathFor(const std::string& pdfPath) {
    const size_t dot = pdfPath.rfind('.');
    const size_t slash = pdfPath.find_last_of("/\\");
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? pdfPath.substr(0, dot) : pdfPath) + ".txt";
}

bool saveVisitReport(const std::string& historyPath, const std::string& serialNumber,
                     const CalendarTime& since) {
    const std::string serial = serialNumber.empty() ? std::string("instrument") : serialNumber;
    const CalendarTime now = ComputerLocalTime();
    const std::string proposed = serial + " visit " + FormatDateTime(now).substr(0, 10) + ".pdf";
    char chosen[kPathSize] = {};
    const int choice = FileSelectPopup("", proposed.c_str(), "*.pdf", "Save visit report",
                                       VAL_SAVE_BUTTON, 0, 0, 1, 1, chosen);
    if (choice <= 0) {
        if (choice < 0)
            showMessages();
        return false;
    }
    std::string pdfPath = chosen;
    if (pdfPath.size() < 4 || pdfPath.substr(pdfPath.size() - 4) != ".pdf")
        pdfPath += ".pdf";
    const std::string textPath = reportTextPathFor(pdfPath);

    const HistoryFile history = loadHistory(historyPath);
    VisitReportInput input;
    input.computer = QSysInfo::machineHostName().toStdString();
    input.serialNumber = serial;
    input.history = &history;
    input.since = since;
    input.until = now;
    const VisitReport report = buildVisitReport(input);
    clearMessages();
    for (const std::string& note : historyNotes(history)) say(note);
    std::string problem = saveReportText(textPath, visitReportText(report));
    if (problem.empty())
        problem = savePdf(pdfPath, report);
    if (!problem.empty()) {
        say("visit report not saved: " + problem);
        return false;
    }
    say("visit report saved to " + pdfPath + " and " + textPath);
    return true;
}
