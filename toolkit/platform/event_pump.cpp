// The window pump that every blocking wait runs between its slices.
#include "toolkit/platform/event_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

namespace {
QElapsedTimer pumped;

// A client's questions come in bursts, each asked as soon as the last is answered: just
// after a call the next slice is short, and each slice without one doubles it back up to
// the quiet slice. A lone call (a screen reader reading a changed text) so costs a few
// wakeups, where a burst is answered call after call within a fraction of a millisecond.
constexpr double kQuietSlice = 0.02;   // while nobody calls
constexpr double kCallSlice = 0.0002;  // just after a call
double slice = kQuietSlice;            // kept from one sleep to the next, as bursts are

// Counts the queued calls delivered to this thread, whoever delivers them.
class CallCounter : public QObject {
  public:
    unsigned long delivered = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MetaCall)
            ++delivered;
        return false;
    }
};

CallCounter* callCounter() {
    static CallCounter* counter = [] {
        auto* c = new CallCounter;
        QCoreApplication::instance()->installEventFilter(c);
        return c;
    }();
    return counter;
}

}  // namespace

void PumpWindowEvents() {
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    pumped.start();
}

void SleepAnsweringCalls(double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(seconds));
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_until(end);
        return;
    }
    CallCounter* counter = callCounter();
    for (;;) {
        std::this_thread::sleep_until(
            std::min(end, Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(slice))));
        const unsigned long before = counter->delivered;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        slice = counter->delivered != before ? kCallSlice : std::min(slice * 2, kQuietSlice);
        if (Clock::now() >= end)
            return;
    }
}

double SecondsSinceWindowsPumped() {
    if (!pumped.isValid())
        return std::numeric_limits<double>::infinity();
    return static_cast<double>(pumped.nsecsElapsed()) * 1e-9;
}
