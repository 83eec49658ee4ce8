// Moving between panels, the port help, the Ports… dialog and quitting.
#pragma once

int configkxcallback(int panel, int control, int event, void* callbackData, int eventData1,
                     int eventData2);
int configqvcallback(int panel, int control, int event, void* callbackData, int eventData1,
                     int eventData2);
int displaycallback(int panel, int control, int event, void* callbackData, int eventData1,
                    int eventData2);
int setrtccallback(int panel, int control, int event, void* callbackData, int eventData1,
                   int eventData2);
int setstartcallback(int panel, int control, int event, void* callbackData, int eventData1,
                     int eventData2);
int returntocalcallback(int panel, int control, int event, void* callbackData, int eventData1,
                        int eventData2);
int returntoconfigcallback(int panel, int control, int event, void* callbackData, int eventData1,
                           int eventData2);
// Hides the panel in front and the three resident panels, then shows a fresh main panel.
int returntomaincallback(int panel, int control, int event, void* callbackData, int eventData1,
                         int eventData2);
// The quit bytes, a pause, and the end of the event loop.
int quitcallback(int panel, int control, int event, void* callbackData, int eventData1,
                 int eventData2);
// A right click on the port selector: its help pop-up.
int portcallback(int panel, int control, int event, void* callbackData, int eventData1,
                 int eventData2);
// The Ports… dialog, from the main panel or the navigation bar; a live run ends first, as
// when its panel is left. The main panel's port choices show the devices kept.
int portscallback(int panel, int control, int event, void* callbackData, int eventData1,
                  int eventData2);
