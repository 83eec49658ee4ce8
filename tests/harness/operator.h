// Acts as the operator through the widgets, never by calling a callback: what the
// operator does reaches the tool exactly as a real press, entry or click would, so it is
// queued while a callback runs and refused by a dimmed control.
//
// Acting on a hidden panel or an unknown control is reported as a harness failure (see
// failures.h): in a test, it fails the running test.
#pragma once

#include <string>
#include <vector>

// False when the press did not land: no reachable button, or a dimmed one.
bool press(int panel, int control);
// Types the value into a numeric control and commits it with Enter, picks the ring item
// with that value, or sets a switch to 0 or 1. False when the control does not show the
// value afterwards (a dimmed control, a value the control refuses).
bool setValue(int panel, int control, int value);
bool setValue(int panel, int control, float value);
bool setValue(int panel, int control, double value);
void rightClick(int panel, int control);
// The window's close box.
void closeWindow(int panel);

// What a screen reader announces for the control.
std::string controlLabel(int panel, int control);
bool isDimmed(int panel);
bool isControlDimmed(int panel, int control);
std::vector<std::string> textLines(int panel, int control);
