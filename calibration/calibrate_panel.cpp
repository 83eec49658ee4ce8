// The calibration panel's two actions. Each runs its whole exchange inside the callback;
// nothing is kept between presses, so every press reads the block and corrects from the
// gain and zero the instrument holds at that moment.
//
// Nothing is written unless the block came whole, the gauge type and length are in the
// table and the two points give a finite gain and zero.
#include "calibration/calibrate_panel.h"

#include <cstdarg>
#include <cstdio>

#include "app/panel_set.h"
#include "calibration/calibration_fields.h"
#include "calibration/gain_zero.h"
#include "calibration/length_tables.h"
#include "link/connection.h"
#include "link/link_state.h"
#include "link/parameter_block.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr double kStepDelay = 0.2;

void reportAck(const AckFrame& ack) {
    clearMessages();
    addAckLine(ack.text, ack.status);
    showMessages();
}

void reportRefusal(const char* reason) {
    clearMessages();
    addMessageLine("%s", reason);
    showMessages();
}

}  // namespace

void calibrationTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void reportWrongLength(int gaugeType, float gaugeLength) {
    const int shown = wholeGaugeLength(gaugeLength);
    if (gaugeType == 0)
        calibrationTrace("bad length %d\n", shown);
    else
        clearMessages();
    addMessageLine("wrong length = %d", shown);
    showMessages();
}

void reportUnknownGaugeType(int gaugeType) {
    addMessageLine("calibration not written: gauge type %d is not 0, 1 or 2", gaugeType);
    showMessages();
}

int calibratecallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    if (navigateTo(PANEL_CALIBRATION) < 0)
        return -1;
    identifyInstrument();
    return 0;
}

int calibrate2callback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    AckFrame ack;
    // Records still on their way from a live run would otherwise be taken for the
    // acknowledgement; the flush sends nothing to the instrument.
    flushQueues();
    sendCommand('r');
    Delay(kStepDelay);
    readAck(ack);
    Delay(kStepDelay);
    if (ack.letter() != 'R') {
        reportAck(ack);
        return 0;
    }

    const int status = readReply(ioBuffer, kBlockTextLength);
    ioBuffer[kBlockTextLength] = '\0';
    calibrationTrace("read back buffer\n%s\n", ioBuffer);
    const BlockReadCheck check = checkBlockRead(status);
    if (!check.ok) {
        // Whatever else came must not meet the next action, which starts without a flush.
        flushQueues();
        clearMessages();
        addBlockReadFailureLine(check);
        showMessages();
        return 0;
    }
    const GainZero old = decodeGainZero(ioBuffer);

    float gaugeLength = 0, levelA = 0, levelB = 0, readingA = 0, readingB = 0;
    GetCtrlVal(currentPanel, CAL_GAUGE_LENGTH, &gaugeLength);
    GetCtrlVal(currentPanel, CAL_LEVEL_A, &levelA);
    GetCtrlVal(currentPanel, CAL_LEVEL_B, &levelB);
    GetCtrlVal(currentPanel, CAL_READING_A, &readingA);
    GetCtrlVal(currentPanel, CAL_READING_B, &readingB);
    const GainZeroResult computed =
        computeGainZero(gaugeLength, levelA, levelB, readingA, readingB, old.gain, old.zero);
    flushQueues();

    int gaugeType = 0;
    GetCtrlVal(currentPanel, CAL_GAUGE_TYPE, &gaugeType);
    calibrationTrace("%d\r\n", gaugeType);
    if (!isKnownGaugeType(gaugeType)) {
        clearMessages();
        reportUnknownGaugeType(gaugeType);
        return 0;
    }
    const auto setting = lookupLengthSetting(calibrationLengthTable, gaugeType, gaugeLength);
    if (!setting) {
        reportWrongLength(gaugeType, gaugeLength);
        return 0;
    }
    if (computed.status != GainZeroStatus::Ok) {
        reportRefusal(gainZeroRefusalText(computed.status));
        return 0;
    }
    // The instrument reads its gain and zero as signed 16-bit values: a count beyond them
    // would be cut to its low 16 bits and come back as a different number.
    if (computed.newGain < 1 || computed.newGain > 32767) {
        clearMessages();
        addMessageLine("calibration not written: new gain %d is outside 1 to 32767",
                       computed.newGain);
        showMessages();
        return 0;
    }
    if (computed.newZero < -32768 || computed.newZero > 32767) {
        clearMessages();
        addMessageLine("calibration not written: new zero %d is outside -32768 to 32767",
                       computed.newZero);
        showMessages();
        return 0;
    }

    writeCalibrationFields(ioBuffer, *setting, computed.newGain, computed.newZero, gaugeLength);
    const int checksum = finishBlockText();
    calibrationTrace("2sum %x buffer \n%s\n", checksum, ioBuffer);

    if (writeBlock(Reread::None, ack) == WriteResult::Written)
        DisplayPanel(donePanel);
    else
        reportAck(ack);
    return 0;
}
