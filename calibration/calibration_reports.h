// What the two calibration actions report, on the message panel and as trace lines on
// standard output.
#pragma once

#include <optional>
#include <span>

#include "link/length_tables.h"

struct AckFrame;

// A trace line of the calibration actions on standard output, flushed at once.
void calibrationTrace(const char* format, ...);

// A refused acknowledgement as the only line of the message box (the calibrate button),
// or below the lines already there (the default calibration, which clears at its start).
void reportAckAlone(const AckFrame& ack);
void reportAckBelow(const AckFrame& ack);
// One line that replaces the messages, which come to the front.
void reportRefusal(const char* format, ...);

// No table entry for the length: type 0 prints "bad length %d" and adds its line below
// the lines already there; types 1 and 2 clear the text box first. Shows the messages.
void reportWrongLength(int gaugeType, float gaugeLength);
// A gauge type without a table column: one line, the messages shown, nothing written.
void reportUnknownGaugeType(int gaugeType);

// One input of the calibration panel: a float or an int control.
struct CalibrationInput {
    int control;
    const char* name;
    float* floatValue;
    int* intValue;
};
// Reads every input from the panel in front. A control that cannot be read adds a line
// naming it, the messages come to the front and false is returned: nothing is sent.
bool readCalibrationInputs(std::span<const CalibrationInput> inputs);

// The table's setting for the gauge type and length on the panel; an unknown type or a
// length without an entry is reported (as above) and yields nothing.
std::optional<LengthSetting> settingOrReport(const LengthTable& table, int gaugeType,
                                             float gaugeLength);
