// The real-time clock panel (panel 9): reading the instrument's clock into seven controls
// and setting it from them, with the clock-set flag.
#pragma once

#include "toolkit/panels/userint.h"

CtrlCallback getrtccallback;
CtrlCallback configrtccallback;
// "Use computer time": fills the seven fields from this computer's local clock (day of week
// 1 = Sunday); nothing is written until Set clock.
CtrlCallback computertimecallback;
