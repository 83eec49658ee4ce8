#include "settings/settings_exchange.h"

#include "app/panel_set.h"
#include "link/link_state.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"

namespace {
constexpr double kSettleDelay = 0.5;
constexpr double kStepDelay = 0.2;
}  // namespace

int flagBit(int flags, int mask) {
    return (flags & mask) != 0 ? 1 : 0;
}

bool acceptSetting(const char* name, int value, int max) {
    if (value >= 0 && value <= max)
        return true;
    addMessageLine("%s = %d is out of range 0 to %d", name, value, max);
    return false;
}

bool readBlockForDisplay() {
    SetPanelAttribute(currentPanel, ATTR_DIMMED, 1);
    Delay(kSettleDelay);
    const int status = readBlock(kBlockReadWithChecksum);
    Delay(kStepDelay);
    const BlockReadCheck check = checkBlockRead(status);
    if (check.ok)
        return true;
    clearMessages();
    addBlockReadFailureLine(check);
    showMessages();
    SetPanelAttribute(currentPanel, ATTR_DIMMED, 0);
    return false;
}

bool readBlockForSet(double pauseAfterFlush) {
    Delay(kSettleDelay);
    const BlockReadCheck check = checkBlockRead(readBlock(kBlockTextLength, pauseAfterFlush));
    if (check.ok)
        return true;
    addBlockReadFailureLine(check);
    showMessages();
    HidePanel(currentPanel);
    return false;
}

void writeSettingsBlock() {
    finishBlockText();
    AckFrame ack;
    if (writeBlock(Reread::AfterStepDelay, ack) == WriteResult::Written) {
        DisplayPanel(donePanel);
        return;
    }
    addAckLine(ack.text, ack.status);
    showMessages();
    HidePanel(currentPanel);
}
