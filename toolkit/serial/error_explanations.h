// What each Rs232Error means to the operator and what to do about it, in one sentence.
#pragma once

#include "toolkit/serial/types.h"

// Never nullptr; an unknown code gets a general sentence. A kComCannotOpen is explained by
// `reason` where the system told why (LastComOpenFailure).
const char* ComErrorExplanation(int code, ComOpenFailure reason = ComOpenFailure::Unknown);
