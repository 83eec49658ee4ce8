// The default calibration button of the calibration panel. Its exchange follows the
// two-point calibration with its own differences: the message box is cleared once at the
// start, the 'r' acknowledgement is read at once, and a success takes the operator back
// to a fresh main panel before the done panel comes up.
#include "calibration/default_calibration.h"

#include "app/panel_set.h"
#include "calibration/calibrate_panel.h"
#include "calibration/calibration_fields.h"
#include "calibration/gain_zero.h"
#include "calibration/length_tables.h"
#include "link/link_state.h"
#include "link/parameter_block.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

namespace {
constexpr double kStepDelay = 0.2;

void reportAck(const AckFrame& ack) {
    addAckLine(ack.text, ack.status);
    showMessages();
}
}  // namespace

int setdefaultcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    Delay(kStepDelay);
    flushQueues();

    AckFrame ack;
    sendCommand('r');
    readAck(ack);
    Delay(kStepDelay);
    if (ack.letter() != 'R') {
        calibrationTrace("bad hex 1 %s\n", ack.text);
        reportAck(ack);
        return 0;
    }

    const int status = readReply(ioBuffer, kBlockTextLength);
    ioBuffer[kBlockTextLength] = '\0';
    const BlockReadCheck check = checkBlockRead(status);
    if (!check.ok) {
        flushQueues();
        addBlockReadFailureLine(check);
        showMessages();
        return 0;
    }
    const GainZero old = decodeGainZero(ioBuffer);
    const int newGain = kDefaultGain;
    flushQueues();

    float gaugeLength = 0;
    int gaugeType = 0;
    GetCtrlVal(currentPanel, CAL_GAUGE_LENGTH, &gaugeLength);
    GetCtrlVal(currentPanel, CAL_GAUGE_TYPE, &gaugeType);
    calibrationTrace("%d\r\n", gaugeType);
    const int newZero = defaultZero(gaugeType);
    calibrationTrace("newgain %d oldgain %d newzero %d oldzero %d\n", newGain, old.gain, newZero,
                     old.zero);

    if (!isKnownGaugeType(gaugeType)) {
        reportUnknownGaugeType(gaugeType);
        return 0;
    }
    const auto setting = lookupLengthSetting(defaultLengthTable, gaugeType, gaugeLength);
    if (!setting) {
        reportWrongLength(gaugeType, gaugeLength);
        return 0;
    }

    writeCalibrationFields(ioBuffer, *setting, newGain, newZero, gaugeLength);
    finishBlockText();
    calibrationTrace("write in default calibrate buffer \n%s\n", ioBuffer);

    if (writeBlock(Reread::None, ack) != WriteResult::Written) {
        reportAck(ack);
        return 0;
    }
    HidePanel(currentPanel);
    if (showFreshMainPanel() < 0)
        return -1;
    DisplayPanel(donePanel);
    return 0;
}
