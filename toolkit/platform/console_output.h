// Standard output of a program started from a console: a Windows program built without a
// console of its own writes nowhere unless it joins the console it was started from.
#pragma once

// Lets what the program prints reach the console that started it, when its output goes
// nowhere else (not redirected to a file or a pipe). Nothing on POSIX systems.
void ReachStartingConsole();
