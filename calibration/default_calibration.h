// The default calibration: a fixed gain, a zero for the gauge type and the scale settings
// of the default length table, written regardless of what the instrument held before.
#pragma once

int setdefaultcallback(int panel, int control, int event, void* callbackData, int eventData1,
                       int eventData2);
