#include "settings/clock_panel.h"

#include "app/panel_set.h"
#include "link/link_state.h"
#include "link/parameter_block.h"
#include "settings/bcd_fields.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

namespace {
constexpr double kSettleBeforeRead = 0.5;
constexpr double kStepDelay = 0.2;
constexpr int kSecondsByte = 11;

// Bytes 11 to 17, in the order the controls are filled and read.
constexpr BcdField kClockFields[] = {
    {CLOCK_SECONDS, kSecondsByte, 0, "seconds"},
    {CLOCK_FIELD2, 12, 0, "minutes"},
    {CLOCK_FIELD3, 13, 0, "hours"},
    {CLOCK_FIELD4, 14, 1, "day of week"},
    {CLOCK_FIELD5, 15, 0, "day of month"},
    {CLOCK_FIELD6, 16, 0, "month"},
    {CLOCK_YEAR, 17, 2000, "year"},
};
constexpr int kClockFieldCount = sizeof kClockFields / sizeof kClockFields[0];
}  // namespace

int getrtccallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    Delay(kSettleBeforeRead);
    flushQueues();
    sendCommand('r');
    Delay(kStepDelay);
    // The acknowledgement and the text in one read: byte i stands at 3i + 5.
    const int status = readReply(ioBuffer, kAckFrameLength + kBlockTextLength);
    const BlockReadCheck check = checkBlockRead(status, kAckFrameLength);
    if (!check.ok) {
        clearMessages();
        addBlockReadFailureLine(check);
        showMessages();
        return 0;
    }

    int stored[kClockFieldCount];
    decodeBcdFields(kClockFields, kAckFrameLength, stored);
    // A running record of the instrument's seconds; the panel stays where it is.
    addMessageLine("seconds = %d", stored[0]);
    if (showBcdFields(currentPanel, kClockFields, stored) > 0)
        showMessages();
    return 0;
}

int configrtccallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    flushQueues();
    sendCommand('r');
    readReply(ioBuffer, kAckFrameLength);  // its letter is not looked at
    Delay(kStepDelay);
    const int status = readReply(ioBuffer, kBlockTextLength);
    ioBuffer[kBlockWriteLength] = '\0';
    Delay(kStepDelay);
    const BlockReadCheck check = checkBlockRead(status);
    if (!check.ok) {
        addBlockReadFailureLine(check);
        showMessages();
        return 0;
    }

    int stored[kClockFieldCount];
    if (!readBcdControls(currentPanel, kClockFields, stored)) {
        showMessages();
        return 0;
    }
    putBcdFields(kClockFields, stored);
    putBlockByte(kFlagByte, getBlockByte(kFlagByte) | kClockSetFlag);
    ioBuffer[3 * kFlagByte + 2] = ',';
    finishBlockText();

    AckFrame ack;
    if (writeBlock(Reread::Immediately, ack) != WriteResult::Written) {
        clearMessages();
        addAckLine(ack.text, ack.status);
        showMessages();
        return 0;
    }
    DisplayPanel(donePanel);
    return 0;
}
