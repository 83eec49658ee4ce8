// quorvel summary FILE [--from T] [--to T] [--length M] [--json]: the summary of a recorded
// run (this tool's CSV or a raw log) as the Recordings page shows it, without a display and
// without the instrument.
#pragma once

struct Invocation;

int runSummary(const Invocation& invocation);
