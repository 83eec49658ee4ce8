// What each Rs232Error means to the operator and what to do about it, in one sentence: in
// the window's words (its controls: Connect, Ports… on the main panel, the status bar) or
// in the command line's (its commands and options).
#pragma once

#include <string>

#include "toolkit/serial/types.h"

enum class ComAdvice { Window, CommandLine };

// Never nullptr; an unknown code gets a general sentence. A kComCannotOpen is explained by
// `reason` where the system told why (LastComOpenFailure).
const char* ComErrorExplanation(int code, ComOpenFailure reason = ComOpenFailure::Unknown,
                                ComAdvice advice = ComAdvice::Window);
// The explanation of `code` as the latest call on `port` returned it: for a device that
// another program holds, naming that program where the system told who it is.
std::string ComPortExplanation(int code, int port, ComAdvice advice);
