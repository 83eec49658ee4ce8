// What tests (and the operator-driving helpers in tests/harness) reach below the
// application's interface: the widgets behind handles, and an answerer that stands in
// for the operator at modal pop-ups.
#pragma once

#include <string>
#include <vector>

class QWidget;

// Answers MessagePopup and FileSelectPopup instead of showing a modal dialog.
class PopupAnswerer {
  public:
    virtual ~PopupAnswerer() = default;
    virtual void message(const std::string& title, const std::string& text) = 0;
    // Returns what FileSelectPopup returns; writes the chosen path into `path`.
    virtual int fileSelect(const std::string& title, bool allowCancel, std::string& path) = 0;
};

// nullptr restores the real, modal dialogs.
void SetPopupAnswerer(PopupAnswerer* answerer);

QWidget* PanelWindow(int panel);                 // nullptr for an unknown handle
QWidget* ControlWidget(int panel, int control);  // nullptr for an unknown id
int PanelResourceId(int panel);                  // negative for an unknown handle
bool IsPanelVisible(int panel);
std::vector<int> LoadedPanels();  // handles, in the order of loading
std::vector<std::string> TextBoxLines(int panel, int control);
// Points plotted on a strip chart and its y range, for tests and benchmarks.
std::vector<double> StripChartPoints(int panel, int control);
void StripChartYRange(int panel, int control, double& ymin, double& ymax);
// Where LoadPanel found the resource file last; empty before the first load.
std::string ResolvedResourcePath(const char* resourceFile);
// True once QuitUserInterface was called, until RunUserInterface returned its code or
// DiscardAllPanels started afresh; the code goes to `code` when given.
bool QuitRequested(int* code = nullptr);
