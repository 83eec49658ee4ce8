// A quit the application asked for and the event loop has not yet reported.
//
// QuitUserInterface may be called outside RunUserInterface (from a callback a test
// triggers); the request is then kept for the next RunUserInterface, which returns at once.
#pragma once

#include <optional>

void requestQuit(int returnCode);
// The code of the pending quit, if there is one.
std::optional<int> pendingQuit();
// Forgets a pending quit; for a fresh start between tests.
void forgetQuit();
