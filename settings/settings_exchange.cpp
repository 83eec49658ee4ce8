#include "settings/settings_exchange.h"

#include "link/messages.h"
#include "link/panel_set.h"
#include "toolkit/panels/userint.h"

namespace {

bool acceptSetting(const char* name, int value, int max) {
    if (max == kAnyValue || (value >= 0 && value <= max))
        return true;
    addMessageLine("%s = %d is out of range 0 to %d", name, value, max);
    return false;
}

}  // namespace

int flagBit(int flags, int mask) {
    return (flags & mask) != 0 ? 1 : 0;
}

bool readSettingControls(std::span<const SettingControl> controls, std::span<int> values) {
    for (size_t i = 0; i < controls.size(); ++i) {
        values[i] = 0;
        GetCtrlVal(currentPanel, controls[i].control, &values[i]);
    }
    bool accepted = true;
    for (size_t i = 0; i < controls.size(); ++i)
        accepted &= acceptSetting(controls[i].name, values[i], controls[i].max);
    return accepted;
}

bool readBlockForDisplay() {
    SetPanelAttribute(currentPanel, ATTR_DIMMED, 1);
    const BlockRead read = readBlock(kSettingsDisplayRead);
    if (read.ok)
        return true;
    reportBlockReadFailure(kSettingsDisplayRead, read);
    SetPanelAttribute(currentPanel, ATTR_DIMMED, 0);
    return false;
}

bool readControlsAndBlockForSet(std::span<const SettingControl> controls, std::span<int> values,
                                const BlockReadRecipe& recipe) {
    clearMessages();
    if (!readSettingControls(controls, values)) {
        showMessages();
        return false;
    }
    return readBlockForSet(recipe);
}

bool readBlockForSet(const BlockReadRecipe& recipe) {
    const BlockRead read = readBlock(recipe);
    if (read.ok)
        return true;
    reportBlockReadFailure(recipe, read);
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
