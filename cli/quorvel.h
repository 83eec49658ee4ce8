// The command-line tool: its arguments parsed (QCommandLineParser), checked against the
// command table, and the command run. No display is needed: a QCoreApplication only.
#pragma once

// The whole program; returns its exit status.
int quorvelMain(int argc, char* argv[]);
