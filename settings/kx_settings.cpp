// The kx settings panel (panel 4): read and set of setting byte 7 and the flag bits 6, 5,
// 4, 1 and 0 of byte 42.
//
// The kx write builds byte 42 from its five controls alone: bits 7, 3 (the clock-set flag)
// and 2 are always written as 0. That is how the instrument has always been written from
// this panel, so the byte read back is deliberately not merged in.
#include "settings/kx_settings.h"

#include "app/panel_set.h"
#include "link/link_state.h"
#include "link/parameter_block.h"
#include "settings/settings_exchange.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr int kSettingByte7 = 7;
constexpr double kShowPause = 1.0;
// The kx set action pauses between flushing and 'r'; the qv one does not.
constexpr double kPauseAfterFlush = 0.2;

}  // namespace

int getconfigkxcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    if (!readBlockForDisplay())
        return 0;

    const int byte7 = getBlockByte(kSettingByte7);
    const int flags = getBlockByte(kFlagByte);
    SetCtrlVal(currentPanel, KX_OPTION6, flagBit(flags, kOptionBit6));
    SetCtrlVal(currentPanel, KX_BYTE7, byte7);
    SetCtrlVal(currentPanel, KX_START_FLAG, flagBit(flags, kScheduledStartFlag));
    SetCtrlVal(currentPanel, KX_SECOND_CHANNEL, flagBit(flags, kSecondChannelFlag));
    SetCtrlVal(currentPanel, KX_RS232, flagBit(flags, kRs232DataFlag));
    SetCtrlVal(currentPanel, KX_OPTION0, flagBit(flags, kOptionBit0));
    Delay(kShowPause);
    SetPanelAttribute(currentPanel, ATTR_DIMMED, 0);
    return 0;
}

int setconfigkxcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    int byte7 = 0, startFlag = 0, option6 = 0, rs232 = 0, option0 = 0, secondChannel = 0;
    GetCtrlVal(currentPanel, KX_BYTE7, &byte7);
    GetCtrlVal(currentPanel, KX_START_FLAG, &startFlag);
    GetCtrlVal(currentPanel, KX_OPTION6, &option6);
    GetCtrlVal(currentPanel, KX_RS232, &rs232);
    GetCtrlVal(currentPanel, KX_OPTION0, &option0);
    GetCtrlVal(currentPanel, KX_SECOND_CHANNEL, &secondChannel);

    // Refused before any serial traffic, so the instrument's block stays as it is and the
    // operator can correct the panel.
    bool accepted = acceptSetting("setting byte 7", byte7, 255);
    accepted &= acceptSetting("option bit 6", option6, 1);
    accepted &= acceptSetting("scheduled start flag", startFlag, 1);
    accepted &= acceptSetting("second channel flag", secondChannel, 1);
    accepted &= acceptSetting("RS232 data flag", rs232, 1);
    accepted &= acceptSetting("option bit 0", option0, 1);
    if (!accepted) {
        showMessages();
        return 0;
    }

    if (!readBlockForSet(kPauseAfterFlush))
        return 0;

    putBlockByte(kSettingByte7, byte7);
    putBlockByte(kFlagByte,
                 64 * option6 + 32 * startFlag + 16 * secondChannel + 2 * rs232 + option0);
    writeSettingsBlock();
    return 0;
}
