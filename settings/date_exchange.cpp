#include "settings/date_exchange.h"

#include "link/messages.h"
#include "link/panel_set.h"
#include "toolkit/panels/userint.h"

bool readDateFields(const BlockReadRecipe& recipe, std::span<const BcdField> fields,
                    std::span<int> stored) {
    const BlockRead read = readBlock(recipe);
    if (!read.ok) {
        reportBlockReadFailure(recipe, read);
        return false;
    }
    decodeBcdFields(fields, read.textOffset, stored);
    return true;
}

void writeDateFields(const DateWrite& write) {
    clearMessages();
    const BlockRead read = readBlock(write.recipe);
    if (!read.ok) {
        reportBlockReadFailure(write.recipe, read);
        return;
    }
    int stored[kMostDateFields];
    if (!readBcdControls(currentPanel, write.fields, stored)) {
        showMessages();
        return;
    }
    putBcdFields(write.fields, stored);
    putBlockCell(ioBuffer, kFlagByte, getBlockByte(kFlagByte) | write.flag);
    finishBlockText();

    AckFrame ack;
    if (writeBlock(write.reread, ack) != WriteResult::Written) {
        if (write.clearsOnRefusal)
            clearMessages();
        addAckLine(ack.text, ack.status);
        showMessages();
        return;
    }
    DisplayPanel(donePanel);
}
