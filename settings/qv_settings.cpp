// The qv settings panel (panel 3): read and set of setting bytes 7, 8, 9, 10 and 23 and the
// flag bits 5, 4, 1 and 0 (inverted) of byte 42.
//
// Unlike the kx write, the qv write starts byte 42 from the value just read and keeps its
// bits 7, 3 (the clock-set flag) and 2; option bit 6, which only the kx panel shows, is
// written as 0. Byte 23 has room for one hex digit only: 0 to 15.
#include "settings/qv_settings.h"

#include "app/panel_set.h"
#include "link/link_state.h"
#include "link/parameter_block.h"
#include "settings/settings_exchange.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr int kSettingByte7 = 7;
constexpr int kSettingByte8 = 8;
constexpr int kSettingByte9 = 9;
constexpr int kSettingByte10 = 10;
constexpr int kSettingByte23 = 23;
constexpr int kSettingByte23Max = 15;
// Flag bits the qv write passes through as the instrument reported them.
constexpr int kKeptFlagBits = 0x8C;
constexpr double kShowPause = 1.0;

// A bit control other than 0 or 1 leaves its bit clear; option bit 0 is set when its
// control is 0.
int qvFlagByte(int readFlags, int startFlag, int rs232, int option0Off, int secondChannel) {
    int flags = readFlags & kKeptFlagBits;
    if (option0Off == 0)
        flags |= kOptionBit0;
    if (rs232 == 1)
        flags |= kRs232DataFlag;
    if (secondChannel == 1)
        flags |= kSecondChannelFlag;
    if (startFlag == 1)
        flags |= kScheduledStartFlag;
    return flags;
}

}  // namespace

int getconfigqvcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    if (!readBlockForDisplay())
        return 0;

    const int byte7 = getBlockByte(kSettingByte7);
    const int byte8 = getBlockByte(kSettingByte8);
    const int byte9 = getBlockByte(kSettingByte9);
    const int byte10 = getBlockByte(kSettingByte10);
    const int flags = getBlockByte(kFlagByte);
    const int byte23 = getBlockByte(kSettingByte23);

    // A byte 23 above 15 cannot be shown, nor written back: the control keeps its value
    // and the operator is told, rather than shown a clipped number.
    const bool byte23Fits = byte23 <= kSettingByte23Max;
    if (byte23Fits)
        SetCtrlVal(currentPanel, QV_BYTE23, byte23);
    SetCtrlVal(currentPanel, QV_START_FLAG, flagBit(flags, kScheduledStartFlag));
    SetCtrlVal(currentPanel, QV_BYTE7, byte7);
    SetCtrlVal(currentPanel, QV_RS232, flagBit(flags, kRs232DataFlag));
    SetCtrlVal(currentPanel, QV_OPTION0_OFF, 1 - flagBit(flags, kOptionBit0));
    SetCtrlVal(currentPanel, QV_SECOND_CHANNEL, flagBit(flags, kSecondChannelFlag));
    SetCtrlVal(currentPanel, QV_BYTE10, byte10);
    SetCtrlVal(currentPanel, QV_BYTE8, byte8);
    SetCtrlVal(currentPanel, QV_BYTE9, byte9);
    if (!byte23Fits) {
        clearMessages();
        addMessageLine("setting byte 23 = %d is out of range 0 to %d, not shown", byte23,
                       kSettingByte23Max);
        showMessages();
    }
    Delay(kShowPause);
    SetPanelAttribute(currentPanel, ATTR_DIMMED, 0);
    return 0;
}

int setconfigqvcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    int startFlag = 0, byte7 = 0, rs232 = 0, option0Off = 0, secondChannel = 0;
    int byte10 = 0, byte8 = 0, byte9 = 0, byte23 = 0;
    GetCtrlVal(currentPanel, QV_START_FLAG, &startFlag);
    GetCtrlVal(currentPanel, QV_BYTE7, &byte7);
    GetCtrlVal(currentPanel, QV_RS232, &rs232);
    GetCtrlVal(currentPanel, QV_OPTION0_OFF, &option0Off);
    GetCtrlVal(currentPanel, QV_SECOND_CHANNEL, &secondChannel);
    GetCtrlVal(currentPanel, QV_BYTE10, &byte10);
    GetCtrlVal(currentPanel, QV_BYTE8, &byte8);
    GetCtrlVal(currentPanel, QV_BYTE9, &byte9);
    GetCtrlVal(currentPanel, QV_BYTE23, &byte23);

    // Refused before any serial traffic, so the instrument's block stays as it is and the
    // operator can correct the panel.
    bool accepted = acceptSetting("setting byte 7", byte7, 255);
    accepted &= acceptSetting("setting byte 8", byte8, 255);
    accepted &= acceptSetting("setting byte 9", byte9, 255);
    accepted &= acceptSetting("setting byte 10", byte10, 255);
    accepted &= acceptSetting("setting byte 23", byte23, kSettingByte23Max);
    if (!accepted) {
        showMessages();
        return 0;
    }

    if (!readBlockForSet(0.0))
        return 0;

    putBlockByte(kSettingByte7, byte7);
    putBlockByte(kSettingByte8, byte8);
    putBlockByte(kSettingByte9, byte9);
    putBlockByte(kSettingByte10, byte10);
    // 0 to 15 in the two-digit form is "0" and one hex digit.
    putBlockByte(kSettingByte23, byte23);
    putBlockByte(kFlagByte,
                 qvFlagByte(getBlockByte(kFlagByte), startFlag, rs232, option0Off, secondChannel));
    writeSettingsBlock();
    return 0;
}
