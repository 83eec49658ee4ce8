// Serves the instrument model on the pseudo-terminal in real time until SIGINT or SIGTERM,
// or until it hangs up the line: `hangUpAfter` seconds after the start (when not negative)
// or when the operator types h and Enter.
//
// Model time is seconds on the monotonic clock since the server started. Each received
// byte is fed with the time it was read; each byte the model sends is written when its
// time has come. Between events the server sleeps in ppoll until the next output byte is
// due, input arrives, the operator types on stdin, or a signal comes.
#pragma once

#include <cstdio>

#include "sim/instrument.h"
#include "sim/program/pty_port.h"

// Every character that goes out on the line is also written to `sentTo`, when given, as
// it went. Returns the process exit code.
int serve(sim::Instrument& instrument, PtyPort& port, double hangUpAfter, std::FILE* sentTo);
