// Delivery of user events to the application's callbacks.
//
// Invariant: callbacks run one at a time. An event that arrives while a callback runs
// (depth > 0) is queued, in order, and runs once the running callback returns; the one
// way to run queued events nested inside a callback is GetUserEvent. A wait cursor shows
// from the first callback until the queue is empty again.
#pragma once

#include "toolkit/panels/types.h"

struct UserEventRecord {
    int panel = 0;
    int control = 0;  // 0 for a panel event
    int event = EVENT_NONE;
    CtrlCallbackPtr controlCallback = nullptr;
    PanelCallbackPtr panelCallback = nullptr;
};

// Runs the event's callback now, or queues it while another callback runs.
void postUserEvent(const UserEventRecord& event);

// True while a callback is running (then user events are queued, not dispatched).
bool InsideCallback();

// Runs the queued events, and what they queue in turn, at the current depth.
void dispatchQueuedEvents();
// How many events have been dispatched so far, and the last of them.
unsigned long dispatchedEventCount();
const UserEventRecord& lastDispatchedEvent();
