// The qv settings panel: setting bytes 7, 8, 9, 10 and 23 and four bits of the flag byte 42.
#pragma once

#include "toolkit/panels/userint.h"

// Read button: reads the block and shows the five bytes and four flag bits in the nine
// controls. Option bit 0 is shown inverted.
CtrlCallback getconfigqvcallback;
// Set button: reads the block again, writes the nine control values into it and sends it.
// Bits 7, 3 and 2 of byte 42 keep the instrument's values; bit 6 goes back as 0.
CtrlCallback setconfigqvcallback;
