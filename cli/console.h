// What the command line asks of the system's console: a request to stop (Ctrl-C, SIGTERM,
// or on Windows the console's close), and whether standard input and standard error are
// terminals, so that a question is asked only of a person and progress is redrawn only
// where one reads it. The answers come from the POSIX or the Windows twin of this module.
#pragma once

// From now on, Ctrl-C and SIGTERM (or the console's close) only note a request to stop:
// the command that runs looks at it between records and ends in its own time.
void CatchStopRequests();
// True once a stop was requested.
bool StopRequested();

bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();
