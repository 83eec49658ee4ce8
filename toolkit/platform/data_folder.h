// Where the tool keeps the files it writes for itself (the settings history) and where
// QSettings keeps its choices (the window's place, the ports' devices): the user's own
// folders, found through QStandardPaths and QSettings, unless a file named "portable"
// beside the program keeps both in a folder "data" beside it, for a copy that runs from a
// USB stick or any other folder.
//
// The rule is applied once, when the application object is made, so every reader and
// writer of either sees the same place for the whole run.
#pragma once

#include <string>

// ~/.local/share/quorvel on Linux; %APPDATA%\Quorvel\Quorvel on Windows, the roaming
// folder of the organisation and application names the main window sets; or, portable,
// the folder "data" beside the program.
std::string ToolDataFolder();
// The system's own data folder of the tool, whatever the rule says (the twins).
std::string SystemDataFolder();
// True when the data and the settings are kept beside the program.
bool PortableData();
// Applies the rule for a program in `programFolder`: with a file "portable" (or
// "portable.txt", as Explorer names a new text file) there, the data folder becomes
// `programFolder`/data and QSettings keeps its choices in an INI file under it. Without
// one, the data folder is the system's and QSettings stays as it is. Returns
// PortableData().
bool FollowPortableRule(const std::string& programFolder);
