// Delivery of user events to the application's callbacks.
//
// Invariant: callbacks run one at a time. An event that arrives while a callback runs
// (depth > 0) is queued, in order; the one way to run queued events is GetUserEvent,
// nested inside the running callback. What is still queued when the outermost callback
// returns is discarded, never replayed: a click made while an exchange ran must not start
// another exchange afterwards. A wait cursor shows while a callback runs.
#pragma once

#include "toolkit/panels/types.h"

struct UserEventRecord {
    int panel = 0;
    int control = 0;  // 0 for a panel event
    int event = EVENT_NONE;
    CtrlCallbackPtr controlCallback = nullptr;
    PanelCallbackPtr panelCallback = nullptr;
    const char* busy = nullptr;  // the action's words while it runs, if it has any
};

// Runs the event's callback now, or queues it while another callback runs.
void postUserEvent(const UserEventRecord& event);

// True while a callback is running (then user events are queued, not dispatched).
bool InsideCallback();

// Runs the queued events, and what they queue in turn, at the current depth.
void dispatchQueuedEvents();
// Forgets the queued events of a panel that is being discarded.
void dropQueuedEventsOf(int panel);
// Runs `action` once the outermost callback has returned (at once when none runs): what a
// callback started to take down must wait until no callback can be using it.
void afterCallbacks(void (*action)());
// GetUserEvent was called: the host hears of it once per outermost callback.
void noteUserEventPoll();
// How many events have been dispatched so far, and the last of them.
unsigned long dispatchedEventCount();
const UserEventRecord& lastDispatchedEvent();
