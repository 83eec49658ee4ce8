// What the tool says about itself: its version and build, the Qt it runs on, the system,
// where it keeps the operator's data, and its licence; for the About page, for
// `vaskinterface --version` and for the details a support call asks for.
#pragma once

#include <QString>
#include <vector>

struct AboutLine {
    QString label;
    QString value;
};

// The About page's lines, in order: version, build, Qt, platform, the data folder, the
// settings history, where the window's place and the port choices are kept, the licence.
std::vector<AboutLine> aboutLines();
// The same as text, one "label: value" line each, to paste into a message to support.
QString aboutDetails();
// What --version prints: the program and version, the build, the Qt version at run time.
QString versionText();
// What --help prints.
QString usageText();
