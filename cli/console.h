// What the command line asks of the system's console: a request to stop (Ctrl-C, SIGTERM,
// a hang-up, or on Windows the console's close), whether standard input and standard error
// are terminals, so that a question is asked only of a person and progress is redrawn only
// where one reads it, and what standard output is. The answers come from the POSIX or the
// Windows twin of this module.
#pragma once

#include <string>

// Standard input, output or error closed when the program starts are held by a stand-in
// that refuses to be written, so that no file or port the program opens later takes their
// place (and standard output written then reaches no instrument). Called first of all.
void KeepStandardStreamsClosed();

// From now on, Ctrl-C, SIGTERM and a hang-up (or the console's close) only note a request
// to stop: the command that runs looks at it between records and ends in its own time. A
// write to a pipe whose reader has gone fails instead of ending the program.
void CatchStopRequests();
// True once a stop was requested.
bool StopRequested();

bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();
// False when standard output was closed before the program started.
bool StandardOutputWritable();
// True when `path` names the file standard output already writes to.
bool ReachesStandardOutput(const std::string& path);
// Characters written to standard output are stored as they are (no CR before a LF).
void SetStandardOutputBinary();
