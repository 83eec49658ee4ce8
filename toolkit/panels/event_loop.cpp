// The application object, the event loop of RunUserInterface and GetUserEvent.
#include "toolkit/panels/event_loop.h"

#include <QApplication>
#include <QEventLoop>
#include <utility>

#include "toolkit/panels/accessible_scroll_area.h"
#include "toolkit/panels/dispatch.h"
#include "toolkit/panels/quit_request.h"
#include "toolkit/panels/types.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/event_pump.h"

namespace {
QEventLoop* runningLoop = nullptr;

// A poll without waiting looks at the window system's queue at most this often: a loop
// that polls once per live record (hundreds of times a second) would otherwise spend more
// on empty queues than on its records. Events the toolkit has queued itself are
// dispatched on every poll, and a human cannot tell a 16 ms delay.
constexpr double kQueueLookInterval = 0.016;
double lastQueueLook = -1;
}  // namespace

int InitToolkit(int argc, char* argv[]) {
    if (!QCoreApplication::instance()) {
        // QApplication keeps a reference to the count: it must outlive the application.
        static int storedArgc = 1;
        static char name[] = "vaskinterface";
        static char* fallback[] = {name, nullptr};
        const bool given = argc > 0 && argv && argv[0];
        storedArgc = given ? argc : 1;
        new QApplication(storedArgc, given ? argv : fallback);
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return UIE_NotInitialized;
    // Only QuitUserInterface ends the tool; a hidden or closed panel never does.
    QApplication::setQuitOnLastWindowClosed(false);
    installAccessibleScrollAreas();
    return UIE_NoError;
}

int GetUserEvent(int wait, int* panel, int* control) {
    if (!QCoreApplication::instance())
        return UIE_NotInitialized;
    noteUserEventPoll();
    const unsigned long before = dispatchedEventCount();
    const double now = CurrentClock().now();
    if (wait || lastQueueLook < 0 || now - lastQueueLook >= kQueueLookInterval ||
        now < lastQueueLook) {
        lastQueueLook = now;
        PumpWindowEvents();
    }
    dispatchQueuedEvents();
    while (wait && dispatchedEventCount() == before && !pendingQuit()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        dispatchQueuedEvents();
    }
    const bool any = dispatchedEventCount() != before;
    const UserEventRecord& last = lastDispatchedEvent();
    if (panel)
        *panel = any ? last.panel : 0;
    if (control)
        *control = any ? last.control : 0;
    return any ? last.event : EVENT_NONE;
}

int RunUserInterface() {
    if (!QCoreApplication::instance())
        return UIE_NotInitialized;
    if (const auto code = pendingQuit(); code && !runningLoop) {
        forgetQuit();
        return *code;
    }
    QEventLoop loop;
    QEventLoop* outer = std::exchange(runningLoop, &loop);
    const int code = loop.exec();
    runningLoop = outer;
    forgetQuit();
    return code;
}

// Called outside the loop, the quit is kept for the next RunUserInterface.
int QuitUserInterface(int returnCode) {
    requestQuit(returnCode);
    if (runningLoop)
        runningLoop->exit(returnCode);
    return UIE_NoError;
}
