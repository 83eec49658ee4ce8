#include "cli/settings_file_commands.h"

#include <QCoreApplication>

#include "cli/invocation.h"
#include "cli/output.h"
#include "history/settings_file.h"
#include "link/link_state.h"
#include "link/write_rule.h"
#include "toolkit/platform/calendar.h"

namespace {

std::string scopeWords(const SettingsFile& file, ApplyScope scope) {
    if (scope == ApplyScope::EverythingButTheClock)
        return "saved from this instrument: everything but the clock is put back";
    return "saved from " + file.serialNumber +
           ": only the kx, qv and scheduled start settings are taken";
}

}  // namespace

int saveSettingsOf(const BlockRead& read, const std::string& path) {
    SettingsFile file;
    file.tool = "quorvel " + QCoreApplication::applicationVersion().toStdString();
    file.saved = FormatDateTime(ComputerLocalTime());
    file.serialNumber = identifiedSerialNumber;
    file.port = portLabel();
    file.from = "the instrument, read when saved";
    file.text.assign(read.text, kBlockTextLength);
    if (const std::string problem = saveSettingsFile(path, file); !problem.empty()) {
        printProblem("settings file not saved: " + problem);
        return kExitRefused;
    }
    printResult("settings of " + file.serialNumber + " saved to " + path);
    return kExitDone;
}

int runApply(const Invocation& invocation) {
    const std::string& path = invocation.arguments[0];
    // A file that is refused is refused before the instrument is woken.
    const SettingsFileRead file = readSettingsFile(path);
    if (!file.ok) {
        printProblem("settings file not applied: " + settingsFileProblem(path, file) +
                     "; nothing sent");
        return kExitRefused;
    }
    BlockRead read;
    if (const int status = connectAndRead(invocation.port, kCommandWriteRead, read);
        status != kExitDone)
        return status;
    const ApplyPlan plan = planApply(file.file, read.text, identifiedSerialNumber);
    const std::string instrument = std::string(identifiedSerialNumber) + " (" + portLabel() + ")";
    if (const auto fault = findWriteFault(read.text, plan.text.c_str())) {
        printProblem(writeFaultText(*fault));
        return kExitRefused;
    }
    if (plan.changes.empty()) {
        printResult(instrument + ": holds the settings of " + path + " already; nothing written");
        return kExitDone;
    }
    printResult("Applying " + path + " (" + scopeWords(file.file, plan.scope) + ") to " +
                instrument + " changes:");
    const int status = writePlannedChanges(
        plan.changes, plan.text, {"Apply these settings?", "quorvel apply"}, read, invocation);
    if (status == kExitDone && !invocation.dryRun)
        printResult(instrument + ": settings of " + path + " applied, " +
                    std::to_string(plan.changes.size()) +
                    (plan.changes.size() == 1 ? " field changed" : " fields changed"));
    return status;
}
