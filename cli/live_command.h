// live: the instrument's records streamed as CSV (the window's CSV columns), and kept as
// they came when asked, until the time is up or a stop is requested (Ctrl-C, SIGTERM).
// Either way the run ends as Stop ends it in the window: the stop pair, the records
// already received taken, the files closed; no record received is lost. No display is
// needed.
#pragma once

struct Invocation;

int runLive(const Invocation& invocation);
