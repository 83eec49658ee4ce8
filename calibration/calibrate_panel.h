// The two-point calibration: opening the calibration panel with an identify exchange, and
// the calibrate button that computes and writes a new gain and zero.
#pragma once

int calibratecallback(int panel, int control, int event, void* callbackData, int eventData1,
                      int eventData2);
int calibrate2callback(int panel, int control, int event, void* callbackData, int eventData1,
                       int eventData2);
