// Where the tool keeps the files it writes for itself (the settings history): a folder of
// the user's own, found through QStandardPaths.
#pragma once

#include <string>

// ~/.local/share/quorvel on Linux; %APPDATA%\Quorvel\Quorvel on Windows, the roaming
// folder of the organisation and application names the main window sets.
std::string ToolDataFolder();
