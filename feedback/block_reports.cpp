#include "feedback/block_reports.h"

#include "feedback/messages.h"
#include "link/block_read.h"
#include "link/date_bytes.h"
#include "link/parameter_block.h"
#include "link/reasons.h"

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

bool dateBytesWritable(const char* text) {
    const std::optional<DateByteFault> fault = findDateByteFault(text);
    if (!fault)
        return true;
    addMessageText(dateByteFaultText(*fault).c_str());
    showMessages();
    return false;
}

void addReadBackDifferenceLine(const ReadBack& readBack) {
    addMessageText(readBackDifferenceText(readBack).c_str());
}
