// The vocabulary shared by the panel interface and the toolkit's panel internals: event
// codes, attribute and pop-up constants, error codes and the callback signatures.
//
// Internals include this header, never userint.h, so that the public interface can sit
// on top of them without a circle.
#pragma once

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

// One point of a strip chart with what it came from: the value plotted, the raw count
// behind it, and a second value for the chart's second trace.
struct StripChartSample {
    double value = 0;
    int count = 0;
    bool hasSecond = false;
    double second = 0;
    bool gapBefore = false;  // the first after a gap: no line joins it to the one before
};

// The callbacks' function types, so that a module declares its callbacks by name alone
// ("CtrlCallback configkxcallback;" declares int configkxcallback(int panel, ...)).
using CtrlCallback = int(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
using PanelCallback = int(int panel, int event, void* callbackData, int eventData1, int eventData2);
using CtrlCallbackPtr = CtrlCallback*;
using PanelCallbackPtr = PanelCallback*;

// One entry of the table that binds the resource file's callback names to functions.
// Exactly one of the two pointers is set.
struct CallbackBinding {
    const char* name;
    CtrlCallbackPtr control;
    PanelCallbackPtr panel;
    const char* busy = nullptr;  // what the main window says while the callback runs
};
