// The sentences of the error explanations that name the system's own places: the device
// files and the dialout group on Linux, Device Manager and COM port numbers on Windows.
#pragma once

extern const char* const kCannotOpenExplanation;  // kComCannotOpen, no reason known
extern const char* const kMissingExplanation;     // ComOpenFailure::Missing
extern const char kNoPermissionExplanation[];     // ComOpenFailure::NoPermission
// A sentence the serial port's help adds: where the system shows a port's device (empty
// where the port's own list says it all).
extern const char* const kFindingPortsHint;
// The same three in the command line's words: its options, not the window's controls.
extern const char* const kCannotOpenCommandLine;
extern const char* const kMissingCommandLine;
extern const char* const kNoPermissionCommandLine;
