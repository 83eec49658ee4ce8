// The window program's own command-line options: --version and --help answer on standard
// output and end the program before any window or display is needed. Every other argument
// goes on to Qt, as before.
#pragma once

#include <optional>

// The exit code when the arguments ask for the version or the usage (printed by then);
// nothing when the window is to start.
std::optional<int> answerInformationRequest(int argc, char* argv[]);
