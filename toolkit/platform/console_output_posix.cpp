// POSIX: a program's output always goes where its parent pointed it.
#include "toolkit/platform/console_output.h"

void ReachStartingConsole() {}
