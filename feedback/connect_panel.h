// Connecting to the instrument and identifying it.
#pragma once

#include "toolkit/panels/userint.h"

CtrlCallback connectcallback;

// The identify exchange without its success report: wake-up, 'i', the acknowledgement and,
// when it carries 'I', the identity reply taken off the line. On any other answer the
// acknowledgement and the three connection-failed lines go to the message panel, which is
// shown. Returns true when the instrument identified itself.
bool identifyInstrument();
