// The qv settings panel (panel 3): read and set of setting bytes 7, 8, 9, 10 and 23 and the
// flag bits 5, 4, 1 and 0 (inverted) of byte 42.
//
// Unlike the kx write, the qv write starts byte 42 from the value just read and keeps its
// bits 7, 3 (the clock-set flag) and 2; option bit 6, which only the kx panel shows, is
// written as 0. Byte 23 has room for one hex digit only: 0 to 15.
#include "settings/qv_settings.h"

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/parameter_block.h"
#include "settings/settings_exchange.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

// In the order the set action reads them. A bit control other than 0 or 1 leaves its
// bit clear, so the bits are taken as they are.
constexpr SettingControl kQvControls[] = {
    {QV_START_FLAG, "scheduled start flag", kAnyValue},
    {QV_BYTE7, "setting byte 7", 255},
    {QV_RS232, "RS232 data flag", kAnyValue},
    {QV_OPTION0_OFF, "option bit 0 off", kAnyValue},
    {QV_SECOND_CHANNEL, "second channel flag", kAnyValue},
    {QV_BYTE10, "setting byte 10", 255},
    {QV_BYTE8, "setting byte 8", 255},
    {QV_BYTE9, "setting byte 9", 255},
    {QV_BYTE23, "setting byte 23", kSettingByte23Max},
};
enum QvValue {
    kStartFlag,
    kByte7,
    kRs232,
    kOption0Off,
    kSecondChannel,
    kByte10,
    kByte8,
    kByte9,
    kByte23,
    kQvValues
};
static_assert(kQvValues <= kMostSettingControls);

// Option bit 0 is set when its control is 0.
int qvFlagByte(int readFlags, const int* v) {
    int flags = readFlags & kQvKeptFlagBits;
    if (v[kOption0Off] == 0)
        flags |= kOptionBit0;
    if (v[kRs232] == 1)
        flags |= kRs232DataFlag;
    if (v[kSecondChannel] == 1)
        flags |= kSecondChannelFlag;
    if (v[kStartFlag] == 1)
        flags |= kScheduledStartFlag;
    return flags;
}

// The five bytes and four flag bits from the block just read into the nine controls; a
// byte 23 that does not fit its control leaves the panel unread.
bool showQvFields() {
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
    return byte23Fits;
}

void putQvFields(const int* v) {
    putBlockByte(kSettingByte7, v[kByte7]);
    putBlockByte(kSettingByte8, v[kByte8]);
    putBlockByte(kSettingByte9, v[kByte9]);
    putBlockByte(kSettingByte10, v[kByte10]);
    // 0 to 15 in the two-digit form is "0" and one hex digit.
    putBlockByte(kSettingByte23, v[kByte23]);
    putBlockByte(kFlagByte, qvFlagByte(getBlockByte(kFlagByte), v));
}

}  // namespace

int getconfigqvcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        runDisplayRead(showQvFields);
    return 0;
}

int setconfigqvcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        runSetAction(kQvControls, kQvWriteRead, "qv write", putQvFields);
    return 0;
}
