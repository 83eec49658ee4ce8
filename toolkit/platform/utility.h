// The platform room's public header: Delay and Timer, the data files (files.h), what a
// path is (file_system.h) and text from outside shown safely (visible_text.h).
//
// Both times follow the toolkit clock (clock.h), which tests may replace. A wait keeps
// windows repainting and queues user input for after the callback; it dispatches none
// of it.
#pragma once

#include "toolkit/platform/file_system.h"
#include "toolkit/platform/files.h"
#include "toolkit/platform/visible_text.h"

int Delay(double seconds);
double Timer();
