// The calibration panel's two actions. Each runs its whole exchange inside the callback;
// nothing is kept between presses, so every press reads the block and corrects from the
// gain and zero the instrument holds at that moment.
//
// Nothing is written unless the block came whole, the gauge type and length are in the
// table and the two points give a finite gain and zero.
#include "calibration/calibrate_panel.h"

#include <cstdio>
#include <string>

#include "calibration/calibration_reports.h"
#include "feedback/block_reports.h"
#include "feedback/block_write.h"
#include "feedback/connect_panel.h"
#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "history/visit_notes.h"
#include "link/block_read.h"
#include "link/calibration_fields.h"
#include "link/gain_zero.h"
#include "link/length_tables.h"
#include "link/parameter_block.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

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
    // The inputs first, so that a control that cannot be read stops the action before the
    // instrument hears anything; nothing else changes them during the exchange.
    float gaugeLength = 0, levelA = 0, levelB = 0, readingA = 0, readingB = 0;
    int gaugeType = 0;
    const CalibrationInput inputs[] = {
        {CAL_GAUGE_LENGTH, "gauge length", &gaugeLength, nullptr},
        {CAL_LEVEL_A, "level A", &levelA, nullptr},
        {CAL_LEVEL_B, "level B", &levelB, nullptr},
        {CAL_READING_A, "reading A", &readingA, nullptr},
        {CAL_READING_B, "reading B", &readingB, nullptr},
        {CAL_GAUGE_TYPE, "gauge type", nullptr, &gaugeType},
    };
    if (!readCalibrationInputs(inputs))
        return 0;

    // The flush first: records still on their way from a live run would otherwise be taken
    // for the acknowledgement; it sends nothing to the instrument.
    const BlockRead read = readBlock(kCalibrationRead);
    if (read.letterRefused) {
        reportBlockReadFailure(read, MessageBox::Cleared);
        return 0;
    }
    calibrationTrace("read back buffer\n%s\n", ioBuffer);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Cleared);
        return 0;
    }
    const GainZero old = decodeGainZero(ioBuffer);
    const GainZeroResult computed =
        computeGainZero(gaugeLength, levelA, levelB, readingA, readingB, old.gain, old.zero);
    flushQueues();

    calibrationTrace("%d\r\n", gaugeType);
    if (!isKnownGaugeType(gaugeType))
        clearMessages();  // the unknown type's line stands alone here
    const auto setting = settingOrReport(calibrationLengthTable, gaugeType, gaugeLength);
    if (!setting)
        return 0;
    if (computed.status != GainZeroStatus::Ok) {
        reportRefusal("%s", gainZeroRefusalText(computed.status));
        return 0;
    }
    // The instrument reads its gain and zero as signed 16-bit values: a count beyond them
    // would be cut to its low 16 bits and come back as a different number.
    if (computed.newGain < kLeastGain || computed.newGain > kMostGain) {
        reportRefusal("calibration not written: new gain %d is outside 1 to 32767",
                      computed.newGain);
        return 0;
    }
    if (computed.newZero < kLeastZero || computed.newZero > kMostZero) {
        reportRefusal("calibration not written: new zero %d is outside -32768 to 32767",
                      computed.newZero);
        return 0;
    }

    writeCalibrationFields(ioBuffer, *setting, computed.newGain, computed.newZero, gaugeLength);
    const int checksum = finishBlockText();
    calibrationTrace("2sum %x buffer \n%s\n", checksum, ioBuffer);

    const std::string sent(ioBuffer, kBlockWriteLength);
    const KeptWrite write = writeBlockKept("calibration", read.text, Reread::None);
    if (write.result == WriteResult::Written) {
        DisplayPanel(donePanel);
        // The trace lines as standard output had them, for the visit's report.
        char sum[16];
        std::snprintf(sum, sizeof sum, "%x", checksum);
        noteCalibration({gaugeLength, gaugeType, levelA, levelB, readingA, readingB, old.gain,
                         old.zero, computed.newGain, computed.newZero,
                         "read back buffer\n" + std::string(read.text) + "\n" +
                             std::to_string(gaugeType) + "\n2sum " + sum + " buffer \n" + sent});
    } else if (write.result != WriteResult::NotSent)
        reportAckAlone(write.ack);
    return 0;
}
