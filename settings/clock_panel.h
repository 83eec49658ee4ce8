// The real-time clock panel (panel 9): reading the instrument's clock into seven controls
// and setting it from them, with the clock-set flag.
#pragma once

int getrtccallback(int panel, int control, int event, void* callbackData, int eventData1,
                   int eventData2);
int configrtccallback(int panel, int control, int event, void* callbackData, int eventData1,
                      int eventData2);
