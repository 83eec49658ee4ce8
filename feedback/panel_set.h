// The program's panel handles and the one way a panel is put in front.
//
// A negative handle is the failure code of the load that produced it. The resident
// panels (messages, connection result, write done) are loaded once at start-up and only
// shown and hidden; every other panel is loaded afresh each time the operator moves to
// it, so it opens with the resource file's initial values, and the instance left behind
// is discarded.
#pragma once

extern int currentPanel;    // the panel in front, replaced by every navigation
extern int messagePanel;    // resident: protocol messages and errors
extern int connectedPanel;  // resident: the result of a successful connect
extern int donePanel;       // resident: shown after a successful write

// Runs before the panel in front is left for another (the live run ends there); the
// application installs it at start-up.
using LeavePanelHook = void (*)();
void setLeavePanelHook(LeavePanelHook hook);
void leavingPanel();  // runs the hook, if any

// Hides the panel in front and makes a fresh instance of `panelId` current and shown.
// Returns 0, or -1 when the load fails (then nothing is shown).
int navigateTo(int panelId);
// Loads a fresh main panel into currentPanel and shows it; -1 when the load fails.
int showFreshMainPanel();
// Labels the main panel's port choices afresh, when it is in front (a device came or went,
// or the operator gave a port another device).
void relabelPortChoices();

void resetPanelSet();
