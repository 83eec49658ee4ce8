// Readings for the calibration taken from the instrument: each button runs the live start
// exchange, averages the records of a few seconds (shown as they come, with their spread),
// sends the stop pair and puts the mean into Reading A or Reading B. Nothing is written
// to the instrument; the operator still presses Calibrate. A reading that cannot be taken
// leaves its field as it was and says why in one line.
#pragma once

#include "toolkit/panels/userint.h"

// How long a reading averages the records, in seconds.
inline constexpr double kReadingSeconds = 3.0;

CtrlCallback takereadingacallback;
CtrlCallback takereadingbcallback;
