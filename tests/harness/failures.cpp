// The one failure handler of the process. Without one a failure still shows, on stderr,
// so an operator step that missed never passes unnoticed.
#include "tests/harness/failures.h"

#include <cstdio>
#include <utility>

namespace {
HarnessFailureHandler& handler() {
    static HarnessFailureHandler installed;
    return installed;
}
}  // namespace

void setHarnessFailureHandler(HarnessFailureHandler h) {
    handler() = std::move(h);
}

void reportHarnessFailure(const std::string& text, std::source_location where) {
    const int line = static_cast<int>(where.line());
    if (handler())
        handler()(where.file_name(), line, text);
    else
        std::fprintf(stderr, "%s:%d: harness: %s\n", where.file_name(), line, text.c_str());
}
