#include "settings/history/restore.h"

#include <cstring>
#include <string>

#include "link/block_read.h"
#include "link/date_bytes.h"
#include "link/messages.h"
#include "settings/history/block_fields.h"
#include "settings/history/kept_write.h"
#include "toolkit/panels/userint.h"

namespace {

constexpr char kTitle[] = "Restore settings";

bool isClockByte(int index) {
    return index >= kClockSecondsByte && index <= kClockYearByte;
}

// The entry's bytes over the text just read in ioBuffer, the clock and its flag excepted.
void putEntryBytes(const std::string& entry) {
    for (int i = 0; i < kBlockBytes; ++i) {
        if (isClockByte(i))
            continue;
        int value = getBlockByte(entry.c_str(), i);
        if (i == kFlagByte)
            value = (value & ~kClockSetFlag) | (getBlockByte(i) & kClockSetFlag);
        putBlockByte(i, value);
    }
}

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
        reportBlockReadFailure(kRestoreRead, read);
        return RestoreOutcome::Failed;
    }
    putEntryBytes(entry.text);
    char restored[kBlockTextLength + 1];
    std::memcpy(restored, ioBuffer, kBlockTextLength);
    restored[kBlockTextLength] = '\0';
    // Asked about, a block that would then be refused would only waste the operator's time.
    if (!dateBytesWritable(restored))
        return RestoreOutcome::Failed;

    const std::vector<std::string> changes = changedFields(read.text, restored);
    if (changes.empty()) {
        MessagePopup(kTitle,
                     "The instrument already holds these settings (its clock aside); nothing "
                     "was written.");
        return RestoreOutcome::NothingToChange;
    }
    if (ConfirmPopup(kTitle, question(entry, changes)) != 1)
        return RestoreOutcome::Declined;

    // The question may have let other work use ioBuffer: the text is put back first.
    std::memcpy(ioBuffer, restored, kBlockTextLength);
    finishBlockText();
    const KeptWrite write = writeBlockKept("restore", read.text, Reread::AfterStepDelay);
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
