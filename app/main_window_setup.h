// The main window around the panels: where the resident panels go and where the
// navigation bar leads.
#pragma once

// Creates the main window; the panels loaded afterwards appear inside it.
int setUpMainWindow();
