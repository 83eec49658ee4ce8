#include "settings/history/kept_write.h"

#include <cstring>

#include "link/messages.h"
#include "link/panel_set.h"
#include "settings/history/history.h"
#include "toolkit/panels/userint.h"

KeptWrite writeBlockKept(const char* action, const char* readText, Reread reread) {
    char sent[kBlockWriteLength + 1];
    std::memcpy(sent, ioBuffer, sizeof sent);
    keepBlockBeforeWrite(action, readText);
    KeptWrite write;
    write.result = writeBlock(reread, write.ack, &write.readBack);
    if (write.result == WriteResult::Written)
        keepBlockWritten(action, sent);
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
