// Start-up of the tool: toolkit, callbacks, resident panels and the main panel.
#pragma once

// Initialises the toolkit, binds the callbacks and loads the panels 11, 6, 8 and then 7,
// showing the main panel. Returns 0, or -1 when initialisation or a load fails.
int startVaskInterface(int argc, char* argv[]);
// The whole program: --version and --help answered without a window, else start-up and
// the event loop until quit. Returns the exit code.
int vaskinterfaceMain(int argc, char* argv[]);
// Forgets every panel handle and the link and live state, as at process start.
void resetVaskInterfaceState();
