// The two-point calibration: opening the calibration panel with an identify exchange, and
// the calibrate button that computes and writes a new gain and zero. Also the reports
// that the default calibration shares with it.
#pragma once

int calibratecallback(int panel, int control, int event, void* callbackData, int eventData1,
                      int eventData2);
int calibrate2callback(int panel, int control, int event, void* callbackData, int eventData1,
                       int eventData2);

// A trace line of the calibration actions on standard output, flushed at once.
void calibrationTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
// No table entry for the length: type 0 prints "bad length %d" and adds its line below
// the lines already there; types 1 and 2 clear the text box first. Shows the messages.
void reportWrongLength(int gaugeType, float gaugeLength);
// A gauge type without a table column: one line, the messages shown, nothing written.
void reportUnknownGaugeType(int gaugeType);
