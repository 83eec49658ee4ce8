#include "settings/start_panel.h"

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

// Bytes 18 to 22, in the order the controls are filled and read.
constexpr BcdField kStartFields[] = {
    {START_FIELD1, 18, 0, "start minute"}, {START_FIELD2, 19, 0, "start hour"},
    {START_FIELD3, 20, 0, "start day"},    {START_FIELD4, 21, 0, "start month"},
    {START_YEAR, 22, 2000, "start year"},
};
constexpr int kStartFieldCount = sizeof kStartFields / sizeof kStartFields[0];
}  // namespace

int getstartcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    Delay(kSettleBeforeRead);
    const int status = readBlock(kBlockTextLength);
    Delay(kStepDelay);
    ioBuffer[kBlockWriteLength] = '\0';
    const BlockReadCheck check = checkBlockRead(status);
    if (!check.ok) {
        addBlockReadFailureLine(check);
        showMessages();
        return 0;
    }

    int stored[kStartFieldCount];
    decodeBcdFields(kStartFields, 0, stored);
    if (showBcdFields(currentPanel, kStartFields, stored) > 0)
        showMessages();
    return 0;
}

int configstartcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    const int status = readBlock(kBlockTextLength);
    ioBuffer[kBlockWriteLength] = '\0';
    const BlockReadCheck check = checkBlockRead(status);
    if (!check.ok) {
        addBlockReadFailureLine(check);
        showMessages();
        return 0;
    }

    int stored[kStartFieldCount];
    if (!readBcdControls(currentPanel, kStartFields, stored)) {
        showMessages();
        return 0;
    }
    putBcdFields(kStartFields, stored);
    putBlockByte(kFlagByte, getBlockByte(kFlagByte) | kScheduledStartFlag);
    ioBuffer[3 * kFlagByte + 2] = ',';
    finishBlockText();

    // No read-back here, and a refusal goes below what the text box already holds.
    AckFrame ack;
    if (writeBlock(Reread::None, ack) != WriteResult::Written) {
        addAckLine(ack.text, ack.status);
        showMessages();
        return 0;
    }
    DisplayPanel(donePanel);
    return 0;
}
