#include "feedback/block_reports.h"

#include "feedback/messages.h"
#include "link/block_read.h"
#include "link/reasons.h"
#include "link/write_rule.h"

void addBlockReadFailureLine(const BlockRead& read) {
    if (read.letterRefused) {
        addAckLine(read.ack.text, read.ack.status);
    } else if (read.status < 0) {
        addErrorCodeLine(read.status);
    } else {
        addMessageLine("%s", blockReadFailureText(read).c_str());
        if (!read.checksumMismatch && read.received == 0)
            explainSilence();
    }
}

void reportBlockReadFailure(const BlockRead& read, MessageBox box) {
    if (box == MessageBox::Cleared)
        clearMessages();
    addBlockReadFailureLine(read);
    showMessages();
}

bool blockWritable(const char* readText, const char* text) {
    const std::optional<WriteFault> fault = findWriteFault(readText, text);
    if (!fault)
        return true;
    addMessageText(writeFaultText(*fault).c_str());
    showMessages();
    return false;
}
