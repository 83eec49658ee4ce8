// The two-point calibration: opening the calibration panel with an identify exchange, and
// the calibrate button that computes and writes a new gain and zero.
#pragma once

#include "toolkit/panels/userint.h"

CtrlCallback calibratecallback;
CtrlCallback calibrate2callback;
