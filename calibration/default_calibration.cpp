// The default calibration button of the calibration panel. Its exchange follows the
// two-point calibration with its own differences: the message box is cleared once at the
// start, the 'r' acknowledgement is read at once, and a success takes the operator back
// to a fresh main panel before the done panel comes up.
#include "calibration/default_calibration.h"

#include <cstdio>

#include "calibration/calibration_reports.h"
#include "feedback/block_reports.h"
#include "feedback/block_write.h"
#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/block_read.h"
#include "link/calibration_fields.h"
#include "link/gain_zero.h"
#include "link/length_tables.h"
#include "link/parameter_block.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

int setdefaultcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    float gaugeLength = 0;
    int gaugeType = 0;
    const CalibrationInput inputs[] = {
        {CAL_GAUGE_LENGTH, "gauge length", &gaugeLength, nullptr},
        {CAL_GAUGE_TYPE, "gauge type", nullptr, &gaugeType},
    };
    if (!readCalibrationInputs(inputs))
        return 0;
    // The instrument's own calibration is lost by this write: the operator says so first.
    char question[200];
    std::snprintf(question, sizeof question,
                  "This replaces the instrument's gain and zero with the defaults for gauge "
                  "type %d and length %g.\nWrite the default calibration?",
                  gaugeType, static_cast<double>(gaugeLength));
    if (ConfirmPopup("Default calibration", question) != 1)
        return 0;

    clearMessages();
    const BlockRead read = readBlock(kDefaultCalibrationRead);
    if (read.letterRefused)
        calibrationTrace("bad hex 1 %s\n", read.ack.text);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Kept);
        return 0;
    }
    const GainZero old = decodeGainZero(ioBuffer);
    const int newGain = kDefaultGain;
    flushQueues();

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

    const KeptWrite write = writeBlockKept("default calibration", read.text, Reread::None);
    if (write.result == WriteResult::NotSent)
        return 0;
    if (write.result != WriteResult::Written) {
        reportAckBelow(write.ack);
        return 0;
    }
    HidePanel(currentPanel);
    if (showFreshMainPanel() < 0)
        return -1;
    DisplayPanel(donePanel);
    return 0;
}
