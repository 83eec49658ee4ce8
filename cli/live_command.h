// live: the instrument's records streamed as CSV (the window's CSV columns), and kept as
// they came when asked, until the time is up or a stop is requested (Ctrl-C, SIGTERM, a
// hang-up), or an output can no longer be written (a pipe whose reader has gone). Every
// way out ends the run as Stop ends it in the window: the stop pair, then the records
// that still come taken until the line falls quiet, the files closed; no record received
// is lost where it can still be written. A line that does not fall quiet is an instrument
// that did not take the stop: said so, exit status 1. No display is needed.
#pragma once

struct Invocation;

int runLive(const Invocation& invocation);
