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

constexpr double kQuietSlice = 0.02;   // while nobody calls
constexpr double kCallSlice = 0.0002;  // while calls come
constexpr double kCallsLinger = 0.25;  // a client's questions come in bursts

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

QElapsedTimer lastCall;  // since calls were last answered
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
        const bool calling = lastCall.isValid() && lastCall.elapsed() < kCallsLinger * 1000;
        const auto slice = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(calling ? kCallSlice : kQuietSlice));
        std::this_thread::sleep_until(std::min(end, Clock::now() + slice));
        const unsigned long before = counter->delivered;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        if (counter->delivered != before)
            lastCall.start();
        if (Clock::now() >= end)
            return;
    }
}

double SecondsSinceWindowsPumped() {
    if (!pumped.isValid())
        return std::numeric_limits<double>::infinity();
    return static_cast<double>(pumped.nsecsElapsed()) * 1e-9;
}
