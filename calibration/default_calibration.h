// The default calibration: a fixed gain, a zero for the gauge type and the scale settings
// of the default length table, written regardless of what the instrument held before.
#pragma once

#include "toolkit/panels/userint.h"

CtrlCallback setdefaultcallback;
