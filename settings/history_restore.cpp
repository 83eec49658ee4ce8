#include "settings/history_restore.h"

#include <cstring>
#include <string>

#include "feedback/block_reports.h"
#include "feedback/block_write.h"
#include "feedback/messages.h"
#include "history/restore.h"
#include "link/block_read.h"
#include "link/link_state.h"
#include "toolkit/panels/userint.h"

namespace {

constexpr char kTitle[] = "Restore settings";

std::string question(const HistoryEntry& entry, const RestorePlan& plan) {
    const std::string kept =
        " kept at " + entry.time + " (" + entry.stage + " " + entry.action + ")";
    std::string text;
    if (plan.scope == ApplyScope::EverythingButTheClock)
        text = "Restore the settings" + kept + "?\nThe clock keeps running.";
    else
        text = "Restore the settings of " + entry.serialNumber + kept + " to " +
               identifiedSerialNumber +
               "?\nThey were kept from another instrument: only the kx, qv and scheduled start "
               "settings are taken; calibration, the clock and the other bytes stay as the "
               "instrument holds them.";
    text += " These fields will change:";
    for (const std::string& change : plan.changes) text += "\n" + change;
    return text;
}

}  // namespace

RestoreOutcome restoreHistoryEntry(const HistoryEntry& entry) {
    clearMessages();
    if (!blockTextSound(entry)) {
        addMessageText("settings not restored: the kept entry is damaged; nothing written");
        showMessages();
        return RestoreOutcome::Failed;
    }
    const BlockRead read = readBlock(kRestoreRead);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Kept);
        return RestoreOutcome::Failed;
    }
    const RestorePlan plan =
        planPutBack(entry.text, entry.serialNumber, read.text, identifiedSerialNumber);
    // Asked about, a block that would then be refused would only waste the operator's time.
    if (!blockWritable(read.text, plan.text.c_str()))
        return RestoreOutcome::Failed;
    if (plan.changes.empty()) {
        MessagePopup(kTitle,
                     "The instrument already holds these settings (its clock aside); nothing "
                     "was written.");
        return RestoreOutcome::NothingToChange;
    }
    if (ConfirmPopup(kTitle, question(entry, plan)) != 1)
        return RestoreOutcome::Declined;

    return writePlannedText("restore", read.text, plan.text);
}

RestoreOutcome writePlannedText(const char* action, const char* readText, const std::string& text) {
    std::memcpy(ioBuffer, text.data(), kBlockTextLength);
    finishBlockText();
    const KeptWrite write = writeBlockKept(action, readText, Reread::AfterStepDelay);
    if (write.result == WriteResult::NotSent)
        return write.declined ? RestoreOutcome::Declined : RestoreOutcome::Failed;
    if (write.result != WriteResult::Written) {
        addAckLine(write.ack.text, write.ack.status);
        showMessages();
        return RestoreOutcome::Failed;
    }
    reportKeptWrite(write);
    return RestoreOutcome::Written;
}
