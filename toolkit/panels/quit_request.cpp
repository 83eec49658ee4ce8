// The pending quit code.
#include "toolkit/panels/quit_request.h"

namespace {
std::optional<int> quitCode;
}

void requestQuit(int returnCode) {
    quitCode = returnCode;
}

std::optional<int> pendingQuit() {
    return quitCode;
}

void forgetQuit() {
    quitCode.reset();
}
