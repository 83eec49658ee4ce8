// The application object and the event loop: InitToolkit, RunUserInterface,
// QuitUserInterface and GetUserEvent. Part of the public interface (userint.h).
#pragma once

#include "toolkit/panels/types.h"

// Creates the application object if there is none. Returns 0, or a negative code.
int InitToolkit(int argc, char* argv[]);

// Runs `callback` with (panel, control, EVENT_COMMIT) as an operator's press would: now, or
// queued behind the callback that is running. For widgets the application builds itself,
// so that their work, too, runs one callback at a time.
void PostCommitEvent(CtrlCallbackPtr callback, int panel, int control);

// Runs the event loop, dispatching callbacks, until QuitUserInterface.
int RunUserInterface();
int QuitUserInterface(int returnCode);
// wait 0: dispatches the user events pending now and returns at once. The panel and
// control of the last dispatched event go to the out-values when given.
int GetUserEvent(int wait, int* panel, int* control);
