// The scheduled start panel (panel 10): reading the stored start time into five controls
// and writing it from them, with the scheduled-start flag.
#pragma once

#include "toolkit/panels/userint.h"

CtrlCallback getstartcallback;
CtrlCallback configstartcallback;
// "Now + 1 hour": fills the five fields with this computer's time an hour from now; nothing
// is written until Set start time.
CtrlCallback nowplushourcallback;
