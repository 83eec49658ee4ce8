// The scheduled start panel (panel 10): reading the stored start time into five controls
// and writing it from them, with the scheduled-start flag.
#pragma once

int getstartcallback(int panel, int control, int event, void* callbackData, int eventData1,
                     int eventData2);
int configstartcallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
// "Now + 1 hour": fills the five fields with this computer's time an hour from now; nothing
// is written until Set start time.
int nowplushourcallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
