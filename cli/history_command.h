// history: the settings kept for the identified instrument, newest first (1 is the newest),
// one entry shown field by field, or one put back (the running clock aside) after the
// fields that will change are listed and the question is answered.
#pragma once

struct Invocation;

int runHistory(const Invocation& invocation);
