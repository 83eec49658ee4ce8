// The live panel's buttons and panel events, and how the rest of the tool ends a run.
//
// Stop, return, closing the panel and leaving it during a run all end the run the same
// way (endLiveRun); return also hides the write done panel.
#pragma once

#include "toolkit/panels/userint.h"

CtrlCallback stopgcallback;
CtrlCallback returncallback;
CtrlCallback outputcallback;
PanelCallback displaypanelcallback;

// Ends a live run (as the stop button does) when the operator leaves the live panel
// through navigation; does nothing when no run is going.
void endLiveRunOnLeave();
// Forgets the run and the log, as at process start.
void resetLiveState();
