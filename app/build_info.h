// What the build knows of itself: the program's version, the commit it was built from and
// the day it was built, as About and --version show them. app/build_info.cmake writes
// their values on every build.
#pragma once

struct BuildInfo {
    const char* version;  // the project's, as "1.0"
    const char* commit;   // twelve hex digits, "-modified" after them for a changed tree,
                          // or "unknown" without the history of the source
    const char* date;     // YYYY-MM-DD, SOURCE_DATE_EPOCH's day when that is set
};

const BuildInfo& buildInfo();
