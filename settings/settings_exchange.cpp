#include "settings/settings_exchange.h"

#include "feedback/block_reports.h"
#include "feedback/block_write.h"
#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "settings/panel_origin.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"

namespace {

bool acceptSetting(const char* name, int value, int max) {
    if (max == kAnyValue || (value >= 0 && value <= max))
        return true;
    addMessageLine("%s = %d is out of range 0 to %d", name, value, max);
    return false;
}

bool readSettingControls(std::span<const SettingControl> controls, std::span<int> values) {
    bool accepted = true;
    for (size_t i = 0; i < controls.size(); ++i) {
        values[i] = 0;
        const int status = GetCtrlVal(currentPanel, controls[i].control, &values[i]);
        if (status < 0) {
            accepted = false;
            addMessageLine("%s could not be read from the panel (error %d); nothing written",
                           controls[i].name, status);
        }
    }
    if (!accepted)
        return false;
    for (size_t i = 0; i < controls.size(); ++i)
        accepted &= acceptSetting(controls[i].name, values[i], controls[i].max);
    return accepted;
}

bool readBlockForSet(const BlockReadRecipe& recipe, BlockRead& read) {
    read = readBlock(recipe);
    if (read.ok)
        return true;
    reportBlockReadFailure(read, MessageBox::Kept);
    HidePanel(currentPanel);
    return false;
}

bool readControlsAndBlockForSet(std::span<const SettingControl> controls, std::span<int> values,
                                const BlockReadRecipe& recipe, BlockRead& read) {
    if (!writeOfDefaultsConfirmed(currentPanel, Origin::ReadOnly))
        return false;
    clearMessages();
    if (!readSettingControls(controls, values)) {
        showMessages();
        return false;
    }
    return readBlockForSet(recipe, read);
}

void writeSettingsBlock(const char* action, const BlockRead& read) {
    finishBlockText();
    const KeptWrite write = writeBlockKept(action, read.text, Reread::AfterStepDelay);
    if (write.result == WriteResult::Written) {
        reportKeptWrite(write);
        return;
    }
    if (write.result == WriteResult::NotSent)
        return;
    addAckLine(write.ack.text, write.ack.status);
    showMessages();
    HidePanel(currentPanel);
}

}  // namespace

int flagBit(int flags, int mask) {
    return (flags & mask) != 0 ? 1 : 0;
}

void runDisplayRead(bool (*show)()) {
    SetPanelAttribute(currentPanel, ATTR_DIMMED, 1);
    const BlockRead read = readBlock(kSettingsDisplayRead);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Cleared);
        SetPanelAttribute(currentPanel, ATTR_DIMMED, 0);
        return;
    }
    if (show())
        noteValuesRead(currentPanel);
    Delay(kShowPause);
    SetPanelAttribute(currentPanel, ATTR_DIMMED, 0);
}

void runSetAction(std::span<const SettingControl> controls, const BlockReadRecipe& recipe,
                  const char* action, void (*edit)(const int* values)) {
    int values[kMostSettingControls];
    BlockRead read;
    if (!readControlsAndBlockForSet(controls, std::span<int>(values, controls.size()), recipe,
                                    read))
        return;
    edit(values);
    writeSettingsBlock(action, read);
}
