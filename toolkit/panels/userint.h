// Panels from the resource file, their controls, pop-ups and the event loop.
//
// Panels and controls are addressed by integer handles and ids, as the application
// knows them from the resource file; no Qt type crosses this interface. Every call
// returns 0 (or a handle) on success and a negative UIError code on failure; a bad
// handle, an unknown control or a value of the wrong type never crashes and never
// stores a value silently converted.
#pragma once

#include <span>

enum UserEvent {
    EVENT_NONE = 0,
    EVENT_COMMIT = 1,
    EVENT_RIGHT_CLICK = 5,
    EVENT_GOT_FOCUS = 8,
    EVENT_LOST_FOCUS = 9,
    EVENT_CLOSE = 11,
};

enum { ATTR_DIMMED = 500 };

// Axis scaling modes of SetAxisRange.
enum { VAL_MANUAL = 0, VAL_AUTOSCALE = 1, VAL_NO_CHANGE = -1 };

// FileSelectPopup: button label and results.
enum { VAL_OK_BUTTON = 0, VAL_SAVE_BUTTON = 1, VAL_SELECT_BUTTON = 2, VAL_LOAD_BUTTON = 3 };
enum { VAL_NO_FILE_SELECTED = 0, VAL_EXISTING_FILE_SELECTED = 1, VAL_NEW_FILE_SELECTED = 2 };

enum UIError {
    UIE_NoError = 0,
    UIE_NotInitialized = -1,
    UIE_ResourceFileMissing = -2,
    UIE_ResourceFileMalformed = -3,
    UIE_PanelIdNotFound = -4,
    UIE_CallbackNotBound = -5,
    UIE_InvalidPanel = -6,
    UIE_InvalidControl = -7,
    UIE_TypeMismatch = -8,
    UIE_InvalidAttribute = -9,
    UIE_ValueOutOfRange = -10,
    UIE_FileDialogFailed = -11,
};

using CtrlCallbackPtr = int (*)(int panel, int control, int event, void* callbackData,
                                int eventData1, int eventData2);
using PanelCallbackPtr = int (*)(int panel, int event, void* callbackData, int eventData1,
                                 int eventData2);

// One entry of the table that binds the resource file's callback names to functions.
// Exactly one of the two pointers is set.
struct CallbackBinding {
    const char* name;
    CtrlCallbackPtr control;
    PanelCallbackPtr panel;
};

// Creates the application object if there is none. Returns 0, or a negative code.
int InitToolkit(int argc, char* argv[]);
// Replaces the table of callbacks that LoadPanel binds by name.
void BindCallbacks(std::span<const CallbackBinding> table);

// A new hidden instance of panel `panelResourceId` from `resourceFile` (a bare name is
// looked up next to the executable, in the installed data directory and in the source
// tree). On failure: a negative UIError and one line on standard error naming the problem.
int LoadPanel(int parentPanel, const char* resourceFile, int panelResourceId);
int DisplayPanel(int panel);  // show and bring to the front
int HidePanel(int panel);
int DiscardPanel(int panel);
void DiscardAllPanels();  // every panel of every load; for a fresh start in tests

// Runs the event loop, dispatching callbacks, until QuitUserInterface.
int RunUserInterface();
int QuitUserInterface(int returnCode);
// wait 0: dispatches the user events pending now and returns at once. The panel and
// control of the last dispatched event go to the out-values when given.
int GetUserEvent(int wait, int* panel, int* control);

int GetCtrlVal(int panel, int control, int* value);
int GetCtrlVal(int panel, int control, float* value);
int GetCtrlVal(int panel, int control, double* value);
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, float value);
int SetCtrlVal(int panel, int control, double value);

int SetPanelAttribute(int panel, int attribute, int value);
int GetPanelAttribute(int panel, int attribute, int* value);
int SetCtrlAttribute(int panel, int control, int attribute, int value);
int GetCtrlAttribute(int panel, int control, int attribute, int* value);

// Relabels item `index` (from 0) of a ring control; its value stays.
int SetRingItemLabel(int panel, int control, int index, const char* label);

int ResetTextBox(int panel, int control, const char* text);
int InsertTextBoxLine(int panel, int control, int line, const char* text);

int MessagePopup(const char* title, const char* message);
// Writes the chosen path (at most 511 characters and a NUL) into pathName.
int FileSelectPopup(const char* defaultDirectory, const char* defaultFileSpec,
                    const char* fileTypeList, const char* title, int buttonLabel,
                    int restrictDirectory, int restrictExtension, int allowCancel,
                    int allowMakeDirectory, char pathName[]);

int SetAxisRange(int panel, int control, int xAxisScaling, double xmin, double xmax,
                 int yAxisScaling, double ymin, double ymax);
int PlotStripChartPoint(int panel, int control, double value);
