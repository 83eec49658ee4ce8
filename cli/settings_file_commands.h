// Settings files on the command line: settings --save FILE keeps the instrument's settings
// in a file, and apply FILE puts a file's settings into the instrument, asking first.
#pragma once

#include <string>

struct Invocation;
struct BlockRead;

// Saves the block just read to `path` and says so; the exit status to end with.
int saveSettingsOf(const BlockRead& read, const std::string& path);
int runApply(const Invocation& invocation);
