#include "feedback/block_write.h"

#include <string>

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "history/write_verdict.h"
#include "toolkit/panels/userint.h"

namespace {

bool writeConfirmedUnkept(const std::string& reason) {
    const std::string question =
        "The settings history cannot keep the block being replaced (" + reason + "). Write anyway?";
    return ConfirmPopup("Settings history", question) == 1;
}

}  // namespace

KeptWrite writeBlockKept(const char* action, const char* readText, Reread reread) {
    const KeptWrite write = writeKept(action, readText, reread, writeConfirmedUnkept);
    if (write.fault) {
        addMessageText(writeFaultText(*write.fault).c_str());
        showMessages();
    }
    if (!write.after.kept) {
        const std::string line = "settings history not saved: " + write.after.reason;
        addMessageText(line.c_str());
        showMessages();
    }
    return write;
}

void reportKeptWrite(const KeptWrite& write) {
    if (write.readBack.differing == 0)
        DisplayPanel(donePanel);
    const WriteVerdict verdict = writeVerdict(write);
    if (verdict.confirmed)
        return;
    addMessageText(verdict.words.c_str());
    showMessages();
}
