// A small resource file written for each test, and callbacks that log what reaches them.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/panels/userint.h"

namespace panels_test {

// Panel 1 holds one control of every kind; its close box presses Quit (20).
inline constexpr int kTest = 1, kResident = 2, kWatched = 3, kPlain = 4;
inline constexpr int kCount = 2, kLevel = 3, kReading = 4, kEnabled = 5, kPort = 6, kLength = 7,
                     kLog = 8, kSecond = 9, kTrace = 10, kGo = 11, kSlow = 12, kOk = 13, kQuit = 20;

inline const char* const kResourceText = R"({"format": "quorvel-panels/1", "panels": [
 {"id": 1, "title": "Test panel", "onClose": {"press": 20}, "controls": [
  {"id": 2, "kind": "numeric", "label": "Count", "row": 0, "col": 0, "dataType": "int",
   "min": 0, "max": 255, "value": 7, "callback": "record"},
  {"id": 3, "kind": "numeric", "label": "Level", "row": 1, "col": 0, "dataType": "float",
   "min": 0, "max": 100, "value": 2.5, "precision": 1},
  {"id": 4, "kind": "numeric", "label": "Reading", "row": 2, "col": 0, "dataType": "double",
   "min": -1, "max": 1, "value": 0.5, "precision": 3},
  {"id": 5, "kind": "binary", "label": "Enabled", "row": 3, "col": 0, "value": 1, "callback": "record"},
  {"id": 6, "kind": "ring", "label": "Port", "row": 4, "col": 0, "dataType": "int",
   "items": [[1, "COM1"], [2, "COM2"], [4, "COM4"]], "value": 2, "callback": "record"},
  {"id": 7, "kind": "ring", "label": "Length", "row": 5, "col": 0, "dataType": "float",
   "items": [[0.25, "0.25"], [0.1, "0.1"], [2, "2"]], "value": 2},
  {"id": 8, "kind": "textbox", "label": "Log", "row": 6, "col": 0, "rows": 3, "columns": 20,
   "value": "first\nsecond\n"},
  {"id": 9, "kind": "indicator", "label": "Second", "row": 7, "col": 0, "precision": 2, "value": 1.5},
  {"id": 10, "kind": "stripchart", "label": "Trace", "row": 8, "col": 0, "colspan": 2,
   "points": 4, "ymin": 0, "ymax": 10},
  {"id": 11, "kind": "button", "label": "Go", "row": 9, "col": 0, "callback": "record"},
  {"id": 12, "kind": "button", "label": "Slow", "row": 9, "col": 1, "callback": "slow"},
  {"id": 13, "kind": "hidebutton", "label": "OK", "row": 10, "col": 0},
  {"id": 20, "kind": "button", "label": "Quit", "row": 10, "col": 1, "callback": "record"}]},
 {"id": 2, "title": "Resident", "onClose": "hide", "controls": [
  {"id": 2, "kind": "label", "label": "Hello", "row": 0, "col": 0}]},
 {"id": 3, "title": "Watched", "callback": "watch", "controls": []},
 {"id": 4, "title": "Plain", "controls": [
  {"id": 2, "kind": "button", "label": "Go", "row": 0, "col": 0, "callback": "record"}]}]})";

// "<control label> <event>" for every callback run, "<label> end" when a slow one returns.
std::vector<std::string>& log();
// What the Slow button's callback does between its begin and end entries.
extern std::function<void(int panel)> whileSlow;

int record(int panel, int control, int event, void*, int, int);
int slow(int panel, int control, int event, void*, int, int);
int watch(int panel, int event, void*, int, int);

// Binds every callback name that `file` mentions to a function that does nothing.
void bindEveryCallbackOf(const std::string& file);
inline const std::string kToolResource = QUORVEL_SOURCE_DIR "/ui/VASKInterface.uir";

class Panels : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `text` as a resource file in the test's directory and returns its path.
    std::string writeResource(const std::string& name, const std::string& text);
    int load(int panelId);
    // Loads and shows panel 1.
    int show(int panelId = kTest);

    QTemporaryDir dir;
    std::string path;
};

}  // namespace panels_test
