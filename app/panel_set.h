// The program's panel handles. A negative handle is the failure code of the load that
// produced it; resident panels are loaded once at start-up and only shown and hidden.
#pragma once

extern int currentPanel;    // the panel in front, replaced by every navigation
extern int messagePanel;    // resident: protocol messages and errors
extern int connectedPanel;  // resident: the result of a successful connect
extern int donePanel;       // resident: shown after a successful write

// Hides the panel in front and makes a fresh instance of `panelId` current and shown.
// Returns 0, or -1 when the load fails (then nothing is shown).
int navigateTo(int panelId);
// Loads a fresh main panel into currentPanel and shows it; -1 when the load fails.
int showFreshMainPanel();
