#include "settings/history/kept_write.h"

#include <cstring>
#include <string>

#include "link/date_bytes.h"
#include "link/messages.h"
#include "link/panel_set.h"
#include "settings/history/history.h"
#include "toolkit/panels/userint.h"

namespace {

bool writeConfirmedUnkept(const std::string& reason) {
    const std::string question =
        "The settings history cannot keep the block being replaced (" + reason + "). Write anyway?";
    return ConfirmPopup("Settings history", question) == 1;
}

}  // namespace

KeptWrite writeBlockKept(const char* action, const char* readText, Reread reread) {
    char sent[kBlockWriteLength + 1];
    std::memcpy(sent, ioBuffer, sizeof sent);
    KeptWrite write;
    bool keptBefore = true;
    if (!findDateByteFault(sent)) {
        const KeepResult kept = keepBlockBeforeWrite(action, readText);
        keptBefore = kept.kept;
        if (!kept.kept && !writeConfirmedUnkept(kept.reason)) {
            write.result = WriteResult::NotSent;
            write.declined = true;
            return write;
        }
        // The question may have let other work use ioBuffer: the text is put back first.
        std::memcpy(ioBuffer, sent, sizeof sent);
    }
    write.result = writeBlock(reread, write.ack, &write.readBack);
    if (write.result != WriteResult::Written || !keptBefore)
        return write;
    if (const KeepResult kept = keepBlockWritten(action, sent); !kept.kept) {
        const std::string line = "settings history not saved: " + kept.reason;
        addMessageText(line.c_str());
        showMessages();
    }
    return write;
}

void reportKeptWrite(const KeptWrite& write) {
    if (write.readBack.differing == 0) {
        DisplayPanel(donePanel);
        return;
    }
    addReadBackDifferenceLine(write.readBack);
    showMessages();
}
