// The explanations on Linux and other POSIX systems: device files and the dialout group.
#include "toolkit/serial/system_explanations.h"

const char* const kCannotOpenExplanation =
    "The port cannot be opened: the device shown in the status bar does not exist, is in use "
    "by another program, or you lack permission to use it (on Linux, membership of the dialout "
    "group; log in again after joining).";
const char* const kMissingExplanation =
    "The port cannot be opened: its device is not there. Plug the adapter in, or give the port "
    "another device with Ports… on the main panel.";
const char kNoPermissionExplanation[] =
    "The port cannot be opened: you lack permission to use its device. On Linux, join the "
    "dialout group (sudo usermod -aG dialout $USER), then log out and log in again.";
const char* const kFindingPortsHint = "";
const char* const kCannotOpenCommandLine =
    "The port cannot be opened: its device does not exist, is in use by another program, or "
    "you lack permission to use it (on Linux, membership of the dialout group; log in again "
    "after joining).";
const char* const kMissingCommandLine =
    "The port cannot be opened: its device is not there. Plug the adapter in, or give --port "
    "another device (quorvel ports lists the devices present).";
// The dialout group is the system's, not the window's: one sentence serves both.
const char* const kNoPermissionCommandLine = kNoPermissionExplanation;
