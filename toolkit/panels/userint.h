// Panels from the resource file, their controls, pop-ups and the event loop.
//
// Panels and controls are addressed by integer handles and ids, as the application
// knows them from the resource file; no Qt type crosses this interface. Every call
// returns 0 (or a handle) on success and a negative UIError code on failure; a bad
// handle, an unknown control or a value of the wrong type never crashes and never
// stores a value silently converted.
//
// The one header of the panels room that the application includes: it gathers the
// vocabulary (types.h), the event loop and the pop-ups, and declares the panel and
// control calls defined in userint.cpp.
#pragma once

#include <span>

#include "toolkit/panels/event_loop.h"
#include "toolkit/panels/popups.h"
#include "toolkit/panels/types.h"

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

int SetAxisRange(int panel, int control, int xAxisScaling, double xmin, double xmax,
                 int yAxisScaling, double ymin, double ymax);
int PlotStripChartPoint(int panel, int control, double value);
// A point with its raw count and, when it has one, a second value on the chart's own
// second axis.
int PlotStripChartSample(int panel, int control, const StripChartSample& sample);
// Marks the start of a run: the time axis counts from here; earlier points stay.
int StartStripChartRun(int panel, int control);
