// The explanations on Windows: COM port numbers, and Device Manager, which lists them.
#include "toolkit/serial/system_explanations.h"

const char* const kCannotOpenExplanation =
    "The port cannot be opened: the COM port shown in the status bar does not exist or is in "
    "use by another program. Device Manager lists the COM ports under Ports (COM & LPT).";
const char* const kMissingExplanation =
    "The port cannot be opened: its COM port is not there. Plug the adapter in and look up its "
    "COM port number in Device Manager (Ports (COM & LPT)), or give the port another device "
    "with Ports… on the main panel.";
const char kNoPermissionExplanation[] =
    "The port cannot be opened: Windows refused access to its COM port. Close the program that "
    "uses it, or ask your administrator, then press Connect again.";
const char* const kFindingPortsHint =
    "\n\nDevice Manager shows which COM port number Windows gave an adapter, under Ports "
    "(COM & LPT).";
const char* const kCannotOpenCommandLine =
    "The port cannot be opened: its COM port does not exist or is in use by another program. "
    "Device Manager lists the COM ports under Ports (COM & LPT).";
const char* const kMissingCommandLine =
    "The port cannot be opened: its COM port is not there. Plug the adapter in and look up its "
    "COM port number in Device Manager (Ports (COM & LPT)), or give --port another port "
    "(quorvel ports lists the ports present).";
const char* const kNoPermissionCommandLine =
    "The port cannot be opened: Windows refused access to its COM port. Close the program that "
    "uses it, or ask your administrator, then run the command again.";
