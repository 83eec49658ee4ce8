// The default calibration button of the calibration panel. Its exchange follows the
// two-point calibration with its own differences: the message box is cleared once at the
// start, the 'r' acknowledgement is read at once, and a success takes the operator back
// to a fresh main panel before the done panel comes up.
#include "calibration/default_calibration.h"

#include "calibration/calibration_fields.h"
#include "calibration/calibration_reports.h"
#include "calibration/gain_zero.h"
#include "calibration/length_tables.h"
#include "link/block_read.h"
#include "link/messages.h"
#include "link/panel_set.h"
#include "link/parameter_block.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

int setdefaultcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    const BlockRead read = readBlock(kDefaultCalibrationRead);
    if (read.letterRefused)
        calibrationTrace("bad hex 1 %s\n", read.ack.text);
    if (!read.ok) {
        reportBlockReadFailure(kDefaultCalibrationRead, read);
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

    const auto setting = settingOrReport(defaultLengthTable, gaugeType, gaugeLength);
    if (!setting)
        return 0;

    writeCalibrationFields(ioBuffer, *setting, newGain, newZero, gaugeLength);
    finishBlockText();
    calibrationTrace("write in default calibrate buffer \n%s\n", ioBuffer);

    AckFrame ack;
    if (writeBlock(Reread::None, ack) != WriteResult::Written) {
        reportAckBelow(ack);
        return 0;
    }
    HidePanel(currentPanel);
    if (showFreshMainPanel() < 0)
        return -1;
    DisplayPanel(donePanel);
    return 0;
}
