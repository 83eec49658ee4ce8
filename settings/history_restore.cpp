#include "settings/history_restore.h"

#include <cstring>
#include <string>

#include "feedback/block_reports.h"
#include "feedback/block_write.h"
#include "feedback/messages.h"
#include "history/restore.h"
#include "link/block_read.h"
#include "toolkit/panels/userint.h"

namespace {

constexpr char kTitle[] = "Restore settings";

std::string question(const HistoryEntry& entry, const std::vector<std::string>& changes) {
    std::string text = "Restore the settings kept at " + entry.time + " (" + entry.stage + " " +
                       entry.action + ")?\nThe clock keeps running. These fields will change:";
    for (const std::string& change : changes) text += "\n" + change;
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
    const RestorePlan plan = planRestore(entry, read.text);
    // Asked about, a block that would then be refused would only waste the operator's time.
    if (!dateBytesWritable(plan.text.c_str()))
        return RestoreOutcome::Failed;
    if (plan.changes.empty()) {
        MessagePopup(kTitle,
                     "The instrument already holds these settings (its clock aside); nothing "
                     "was written.");
        return RestoreOutcome::NothingToChange;
    }
    if (ConfirmPopup(kTitle, question(entry, plan.changes)) != 1)
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
