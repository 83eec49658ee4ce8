// The platform room's public header: Delay and Timer, and the data files (files.h).
//
// Both times follow the toolkit clock (clock.h), which tests may replace. A wait keeps
// windows repainting and queues user input for after the callback; it dispatches none
// of it.
#pragma once

#include "toolkit/platform/files.h"

int Delay(double seconds);
double Timer();
