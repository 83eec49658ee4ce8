// What the rest of the tool needs to know of a live run.
#pragma once

// Ends a live run (as the stop button does) when the operator leaves the live panel
// through navigation; does nothing when no run is going.
void endLiveRunOnLeave();
// Forgets the run and the log, as at process start.
void resetLiveState();
