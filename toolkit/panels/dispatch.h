// Delivery of user events to the application's callbacks.
//
// Invariant: callbacks run one at a time. An event that arrives while a callback runs
// (depth > 0) is queued, in order, and runs once the running callback returns; the one
// way to run queued events nested inside a callback is GetUserEvent. A wait cursor shows
// from the first callback until the queue is empty again.
#pragma once

#include "toolkit/panels/userint.h"

struct UserEventRecord {
    int panel = 0;
    int control = 0;  // 0 for a panel event
    int event = EVENT_NONE;
    CtrlCallbackPtr controlCallback = nullptr;
    PanelCallbackPtr panelCallback = nullptr;
};

// Runs the event's callback now, or queues it while another callback runs.
void postUserEvent(const UserEventRecord& event);

// Lays out and paints `widget` before returning, so the operator sees a change at once,
// even in the middle of a blocking callback.
void paintNow(class QWidget* widget);

// Forgets a pending quit; for a fresh start between tests.
void resetUserInterfaceLoop();
