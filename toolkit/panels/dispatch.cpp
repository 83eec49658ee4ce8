// The event queue and its depth, the wait cursor, the window pump, GetUserEvent and the
// event loop of RunUserInterface.
#include "toolkit/panels/dispatch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QWidget>
#include <QWindow>
#include <deque>
#include <optional>

#include "toolkit/panels/testing.h"
#include "toolkit/platform/event_pump.h"

namespace {

constexpr qint64 kExposeWaitMs = 100;

std::deque<UserEventRecord> pending;
int depth = 0;
unsigned long dispatched = 0;
UserEventRecord lastDispatched;

QEventLoop* runningLoop = nullptr;
std::optional<int> quitCode;

// The wait cursor from the outermost callback until the queue behind it is empty.
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

// Also runs what the drained callbacks queue in turn, so nothing is left behind.
void drainQueue() {
    while (!pending.empty()) {
        const UserEventRecord next = pending.front();
        pending.pop_front();
        run(next);
    }
}

}  // namespace

void postUserEvent(const UserEventRecord& event) {
    if (depth > 0) {
        pending.push_back(event);
        return;
    }
    const WaitCursor busy;
    run(event);
    drainQueue();
}

bool InsideCallback() {
    return depth > 0;
}

void PumpWindowEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void paintNow(QWidget* widget) {
    if (!widget || !widget->isVisible())
        return;
    const QWindow* handle = widget->window()->windowHandle();
    // A window just shown is painted when the platform exposes it, which a window
    // manager may take a few milliseconds to do. Input stays queued meanwhile.
    if (!handle || !handle->isExposed()) {
        constexpr auto kNoInput =
            QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers;
        QElapsedTimer waited;
        waited.start();
        do {
            QCoreApplication::processEvents(kNoInput, 5);
        } while (handle && !handle->isExposed() && waited.elapsed() < kExposeWaitMs);
        return;
    }
    // A control that grew (a longer ring label) resizes the panel first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    widget->repaint();
}

int GetUserEvent(int wait, int* panel, int* control) {
    if (!QCoreApplication::instance())
        return UIE_NotInitialized;
    const unsigned long before = dispatched;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    drainQueue();
    while (wait && dispatched == before && !quitCode) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        drainQueue();
    }
    const bool any = dispatched != before;
    if (panel)
        *panel = any ? lastDispatched.panel : 0;
    if (control)
        *control = any ? lastDispatched.control : 0;
    return any ? lastDispatched.event : EVENT_NONE;
}

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
    return UIE_NoError;
}

int RunUserInterface() {
    if (!QCoreApplication::instance())
        return UIE_NotInitialized;
    if (quitCode && !runningLoop) {
        const int code = *quitCode;
        quitCode.reset();
        return code;
    }
    QEventLoop loop;
    QEventLoop* outer = std::exchange(runningLoop, &loop);
    const int code = loop.exec();
    runningLoop = outer;
    quitCode.reset();
    return code;
}

// Called outside the loop (from a callback a test triggers), the quit is kept for the
// next RunUserInterface, which then returns at once.
int QuitUserInterface(int returnCode) {
    quitCode = returnCode;
    if (runningLoop)
        runningLoop->exit(returnCode);
    return UIE_NoError;
}

bool QuitRequested(int* code) {
    if (quitCode && code)
        *code = *quitCode;
    return quitCode.has_value();
}

void resetUserInterfaceLoop() {
    quitCode.reset();
}
