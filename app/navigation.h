// Moving between panels, the port help, the Ports… dialog and quitting.
#pragma once

#include "toolkit/panels/userint.h"

CtrlCallback configkxcallback;
CtrlCallback configqvcallback;
CtrlCallback displaycallback;
CtrlCallback setrtccallback;
CtrlCallback setstartcallback;
CtrlCallback returntocalcallback;
CtrlCallback returntoconfigcallback;
// Hides the panel in front and the three resident panels, then shows a fresh main panel.
CtrlCallback returntomaincallback;
// The quit bytes, a pause, and the end of the event loop.
CtrlCallback quitcallback;
// A right click on the port selector: its help pop-up.
CtrlCallback portcallback;
// The Ports… dialog, from the main panel or the navigation bar; a live run ends first, as
// when its panel is left. The main panel's port choices show the devices kept.
CtrlCallback portscallback;
