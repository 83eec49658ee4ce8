// The kx settings panel: setting byte 7 and five bits of the flag byte 42.
#pragma once

// Read button: reads the block and shows byte 7 and the flag bits in the six controls.
int getconfigkxcallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
// Set button: reads the block again, writes the six control values into it and sends it.
// Byte 42 is built from the controls alone, so bits 7, 3 and 2 go back as 0.
int setconfigkxcallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
