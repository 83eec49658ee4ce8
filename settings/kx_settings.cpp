// The kx settings panel (panel 4): read and set of setting byte 7 and the flag bits 6, 5,
// 4, 1 and 0 of byte 42.
//
// The kx write builds byte 42 from its five controls alone: bits 7, 3 (the clock-set flag)
// and 2 are always written as 0. That is how the instrument has always been written from
// this panel, so the byte read back is deliberately not merged in.
#include "settings/kx_settings.h"

#include "feedback/panel_set.h"
#include "link/parameter_block.h"
#include "settings/settings_exchange.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

// In the order the set action reads them.
constexpr SettingControl kKxControls[] = {
    {KX_BYTE7, "setting byte 7", 255}, {KX_START_FLAG, "scheduled start flag", 1},
    {KX_OPTION6, "option bit 6", 1},   {KX_RS232, "RS232 data flag", 1},
    {KX_OPTION0, "option bit 0", 1},   {KX_SECOND_CHANNEL, "second channel flag", 1},
};
enum KxValue { kByte7, kStartFlag, kOption6, kRs232, kOption0, kSecondChannel, kKxValues };
static_assert(kKxValues <= kMostSettingControls);

// Byte 7 and the flag bits from the block just read into the six controls.
bool showKxFields() {
    const int byte7 = getBlockByte(kSettingByte7);
    const int flags = getBlockByte(kFlagByte);
    SetCtrlVal(currentPanel, KX_OPTION6, flagBit(flags, kOptionBit6));
    SetCtrlVal(currentPanel, KX_BYTE7, byte7);
    SetCtrlVal(currentPanel, KX_START_FLAG, flagBit(flags, kScheduledStartFlag));
    SetCtrlVal(currentPanel, KX_SECOND_CHANNEL, flagBit(flags, kSecondChannelFlag));
    SetCtrlVal(currentPanel, KX_RS232, flagBit(flags, kRs232DataFlag));
    SetCtrlVal(currentPanel, KX_OPTION0, flagBit(flags, kOptionBit0));
    return true;
}

void putKxFields(const int* v) {
    putBlockByte(kSettingByte7, v[kByte7]);
    putBlockByte(kFlagByte, 64 * v[kOption6] + 32 * v[kStartFlag] + 16 * v[kSecondChannel] +
                                2 * v[kRs232] + v[kOption0]);
}

}  // namespace

int getconfigkxcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        runDisplayRead(showKxFields);
    return 0;
}

int setconfigkxcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        runSetAction(kKxControls, kKxWriteRead, "kx write", putKxFields);
    return 0;
}
