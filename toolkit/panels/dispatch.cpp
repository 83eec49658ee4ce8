// The event queue and its depth, and the wait cursor.
#include "toolkit/panels/dispatch.h"

#include <QCursor>
#include <QGuiApplication>
#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "toolkit/panels/panel_host.h"

namespace {

std::deque<UserEventRecord> pending;
std::vector<void (*)()> afterwards;
int depth = 0;
bool polled = false;  // the outermost callback has polled for input
unsigned long dispatched = 0;
UserEventRecord lastDispatched;

// The wait cursor while the outermost callback runs.
class WaitCursor {
  public:
    WaitCursor() {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void run(const UserEventRecord& e) {
    struct Depth {
        Depth() { ++depth; }
        ~Depth() { --depth; }
    } inside;
    lastDispatched = e;
    ++dispatched;
    if (e.controlCallback)
        e.controlCallback(e.panel, e.control, e.event, nullptr, 0, 0);
    else if (e.panelCallback)
        e.panelCallback(e.panel, e.event, nullptr, 0, 0);
}

}  // namespace

void postUserEvent(const UserEventRecord& event) {
    if (depth > 0) {
        pending.push_back(event);
        return;
    }
    PanelHost* host = CurrentPanelHost();
    polled = false;
    if (host)
        host->busyChanged(true, event.busy);
    {
        const WaitCursor busy;
        run(event);
    }
    pending.clear();
    if ((host = CurrentPanelHost()))
        host->busyChanged(false, nullptr);
    for (void (*action)() : std::exchange(afterwards, {})) action();
}

void afterCallbacks(void (*action)()) {
    if (depth == 0) {
        action();
        return;
    }
    if (std::find(afterwards.begin(), afterwards.end(), action) == afterwards.end())
        afterwards.push_back(action);
}

void PostCommitEvent(CtrlCallbackPtr callback, int panel, int control) {
    postUserEvent({panel, control, EVENT_COMMIT, callback, nullptr});
}

bool InsideCallback() {
    return depth > 0;
}

void dispatchQueuedEvents() {
    while (!pending.empty()) {
        const UserEventRecord next = pending.front();
        pending.pop_front();
        run(next);
    }
}

void dropQueuedEventsOf(int panel) {
    pending.erase(std::remove_if(pending.begin(), pending.end(),
                                 [panel](const UserEventRecord& e) { return e.panel == panel; }),
                  pending.end());
}

void noteUserEventPoll() {
    if (depth == 0 || polled)
        return;
    polled = true;
    if (PanelHost* host = CurrentPanelHost())
        host->callbackPolls();
}

unsigned long dispatchedEventCount() {
    return dispatched;
}

const UserEventRecord& lastDispatchedEvent() {
    return lastDispatched;
}
