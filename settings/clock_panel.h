// The real-time clock panel (panel 9): reading the instrument's clock into seven controls
// and setting it from them, with the clock-set flag.
#pragma once

int getrtccallback(int panel, int control, int event, void* callbackData, int eventData1,
                   int eventData2);
int configrtccallback(int panel, int control, int event, void* callbackData, int eventData1,
                      int eventData2);
// "Use computer time": fills the seven fields from this computer's local clock (day of week
// 1 = Sunday); nothing is written until Set clock.
int computertimecallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
