// "Open recording…" on the Live page: the Recordings page brought to the front and its file
// chooser opened.
#pragma once

#include "toolkit/panels/userint.h"

CtrlCallback openrecordingcallback;
