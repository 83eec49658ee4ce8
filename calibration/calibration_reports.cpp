#include "calibration/calibration_reports.h"

#include <cstdarg>
#include <cstdio>

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/length_tables.h"
#include "link/link_state.h"
#include "toolkit/panels/userint.h"

void calibrationTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void reportAckAlone(const AckFrame& ack) {
    clearMessages();
    reportAckBelow(ack);
}

void reportAckBelow(const AckFrame& ack) {
    addAckLine(ack.text, ack.status);
    showMessages();
}

void reportRefusal(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char line[kIoBufferSize];
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    clearMessages();
    addMessageLine("%s", line);
    showMessages();
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

std::optional<LengthSetting> settingOrReport(const LengthTable& table, int gaugeType,
                                             float gaugeLength) {
    if (!isKnownGaugeType(gaugeType)) {
        reportUnknownGaugeType(gaugeType);
        return std::nullopt;
    }
    const auto setting = lookupLengthSetting(table, gaugeType, gaugeLength);
    if (!setting)
        reportWrongLength(gaugeType, gaugeLength);
    return setting;
}

bool readCalibrationInputs(std::span<const CalibrationInput> inputs) {
    bool allRead = true;
    for (const CalibrationInput& input : inputs) {
        const int status = input.floatValue
                               ? GetCtrlVal(currentPanel, input.control, input.floatValue)
                               : GetCtrlVal(currentPanel, input.control, input.intValue);
        if (status >= 0)
            continue;
        if (allRead)
            clearMessages();
        allRead = false;
        addMessageLine("%s could not be read from the panel (error %d); nothing written",
                       input.name, status);
    }
    if (!allRead)
        showMessages();
    return allRead;
}
