// What tests (and the operator-driving helpers in tests/harness) reach below the
// application's interface: the widgets behind handles, and an answerer that stands in
// for the operator at modal pop-ups (the seam in popup_answerer.h).
//
// Test-only: no production code includes this header; it is built into a library of its
// own, quorvel_toolkit_testing, that only tests and benchmarks link.
#pragma once

#include <string>
#include <vector>

#include "toolkit/panels/popup_answerer.h"
#include "toolkit/panels/shell_types.h"

class QWidget;

QWidget* PanelWindow(int panel);                 // nullptr for an unknown handle
QWidget* ControlWidget(int panel, int control);  // nullptr for an unknown id
int PanelResourceId(int panel);                  // negative for an unknown handle
bool IsPanelVisible(int panel);
std::vector<int> LoadedPanels();  // handles, in the order of loading
std::vector<std::string> TextBoxLines(int panel, int control);
// Points plotted on a strip chart and its y range, for tests and benchmarks.
std::vector<double> StripChartPoints(int panel, int control);
void StripChartYRange(int panel, int control, double& ymin, double& ymax);
// The chart widget behind a strip chart control, for pictures of it; nullptr if none.
class StripChart* StripChartWidget(int panel, int control);
// Where LoadPanel found the resource file last; empty before the first load.
std::string ResolvedResourcePath(const char* resourceFile);
// True once QuitUserInterface was called, until RunUserInterface returned its code or
// DiscardAllPanels started afresh; the code goes to `code` when given.
bool QuitRequested(int* code = nullptr);

// The main window, as the operator sees it; empty answers without one.
std::string ShellStatusField(StatusField field);
std::string ShellBusyText();
std::string ShellMessageHint();
// The one line the page area shows when no page is in front; empty while one is.
std::string ShellPlaceholderLine();
// The label (without its &) of the navigation entry marked as in front, or empty.
std::string ShellMarkedEntry();
// Clicks the navigation entry with this label (without its &); false when there is none.
bool PressShellEntry(const std::string& label);
// What the event loop does once a click has been handled, for tests that run none: the
// windows of panels discarded meanwhile are deleted. Nothing while a callback runs.
void DeleteDiscardedPanels();
