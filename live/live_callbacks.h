// The live panel's buttons and panel events, and how the rest of the tool ends a run.
//
// Stop, return, closing the panel and leaving it during a run all end the run the same
// way (endLiveRun); return also hides the write done panel.
#pragma once

int stopgcallback(int panel, int control, int event, void* callbackData, int eventData1,
                  int eventData2);
int returncallback(int panel, int control, int event, void* callbackData, int eventData1,
                   int eventData2);
int outputcallback(int panel, int control, int event, void* callbackData, int eventData1,
                   int eventData2);
int displaypanelcallback(int panel, int event, void* callbackData, int eventData1, int eventData2);

// Ends a live run (as the stop button does) when the operator leaves the live panel
// through navigation; does nothing when no run is going.
void endLiveRunOnLeave();
// Forgets the run and the log, as at process start.
void resetLiveState();
