#include "cli/history_command.h"

#include <string>
#include <vector>

#include "cli/invocation.h"
#include "cli/output.h"
#include "history/history.h"
#include "history/restore.h"
#include "link/block_fields.h"
#include "link/link_state.h"
#include "link/write_rule.h"
#include "toolkit/platform/visible_text.h"

namespace {

// The entries of the instrument identified last, newest first; notes on standard error.
std::vector<HistoryEntry> loadEntries() {
    const HistoryFile history = loadHistory(currentHistoryFilePath());
    for (const std::string& note : historyNotes(history)) printProblem(note);
    return {history.entries.rbegin(), history.entries.rend()};
}

std::string entryLine(size_t number, const HistoryEntry& entry) {
    std::string line = std::to_string(number) + "  " + entry.time + "  " + entry.action + " (" +
                       entry.stage + ")  " + entry.serialNumber + "  " + entry.port;
    if (entry.checksum.empty())
        line += "  (kept without a checksum)";
    return VisibleText(line);
}

// The entry numbered by the argument behind the subcommand (1 is the newest).
const HistoryEntry* chosenEntry(const Invocation& invocation,
                                const std::vector<HistoryEntry>& entries, int& status) {
    if (entries.empty()) {
        printProblem("no settings are kept for this instrument");
        status = kExitRefused;
        return nullptr;
    }
    const std::string& given = invocation.arguments[1];
    const bool digits = !given.empty() && given.size() <= 9 &&
                        given.find_first_not_of("0123456789") == std::string::npos;
    const size_t number = digits ? std::stoul(given) : 0;
    if (number == 0 || number > entries.size()) {
        status = usageError("\"" + given + "\" is no entry: give 1 to " +
                            std::to_string(entries.size()) + " (1 is the newest)");
        return nullptr;
    }
    return &entries[number - 1];
}

int list(const std::vector<HistoryEntry>& entries) {
    if (entries.empty())
        printProblem("no settings are kept for this instrument (" + currentHistoryFilePath() + ")");
    for (size_t i = 0; i < entries.size(); ++i) printResult(entryLine(i + 1, entries[i]));
    return kExitDone;
}

int show(const HistoryEntry& entry) {
    for (const BlockFieldView& field : blockFieldViews())
        printResult(std::string(field.name) + ": " + field.show(entry.text.c_str()));
    printResult("block text: " + entry.text);
    printResult("checksum: " +
                (entry.checksum.empty() ? std::string("none kept") : entry.checksum));
    return kExitDone;
}

int restore(const Invocation& invocation, const HistoryEntry& entry) {
    if (!blockTextSound(entry)) {
        printProblem("settings not restored: the kept entry is damaged; nothing written");
        return kExitRefused;
    }
    BlockRead read;
    if (!readBlockOrSay(kRestoreRead, read))
        return kExitRefused;
    const RestorePlan plan =
        planPutBack(entry.text, entry.serialNumber, read.text, identifiedSerialNumber);
    if (const auto fault = findWriteFault(read.text, plan.text.c_str())) {
        printProblem(writeFaultText(*fault));
        return kExitRefused;
    }
    if (plan.changes.empty()) {
        printResult(
            "the instrument already holds these settings (its clock aside); nothing written");
        return kExitDone;
    }
    const std::string kept =
        " kept at " + entry.time + " (" + entry.stage + " " + entry.action + ")";
    if (plan.scope == ApplyScope::EverythingButTheClock) {
        printResult("Restoring the settings" + kept + " changes, the clock aside:");
        return writePlannedChanges(plan.changes, plan.text,
                                   {"Restore these settings?", "quorvel restore"}, read,
                                   invocation);
    }
    printResult("Restoring the settings of " + entry.serialNumber + kept + " to " +
                std::string(identifiedSerialNumber) +
                " takes only the kx, qv and scheduled start settings, as they come from another "
                "instrument, and changes:");
    return writePlannedChanges(plan.changes, plan.text,
                               {"Restore these settings of another instrument?", "quorvel restore"},
                               read, invocation);
}

}  // namespace

int runHistory(const Invocation& invocation) {
    const std::string what = invocation.arguments.empty() ? "list" : invocation.arguments[0];
    const size_t wanted = what == "list" ? 1 : 2;
    if ((what != "list" && what != "show" && what != "restore") ||
        invocation.arguments.size() > wanted || (wanted == 2 && invocation.arguments.size() < 2))
        return usageError("history takes list, show N or restore N");
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    const std::vector<HistoryEntry> entries = loadEntries();
    if (what == "list")
        return list(entries);
    int status = kExitDone;
    const HistoryEntry* entry = chosenEntry(invocation, entries, status);
    if (!entry)
        return status;
    return what == "show" ? show(*entry) : restore(invocation, *entry);
}
