// The kx settings panel: setting byte 7 and five bits of the flag byte 42.
#pragma once

#include "toolkit/panels/userint.h"

// Read button: reads the block and shows byte 7 and the flag bits in the six controls.
CtrlCallback getconfigkxcallback;
// Set button: reads the block again, writes the six control values into it and sends it.
// Byte 42 is built from the controls alone, so bits 7, 3 and 2 go back as 0.
CtrlCallback setconfigkxcallback;
