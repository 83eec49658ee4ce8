// The choice of toolkit clock, and the real-time clock used while none is installed.
//
// A real wait sleeps in short slices and repaints windows between them, so a blocked
// callback leaves the windows drawn without spinning; within a slice it answers the calls
// an accessibility client queues, so a screen reader reading the window during a long
// wait (a live run waiting for its lost line) is not kept waiting a slice per question.
#include "toolkit/platform/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "toolkit/platform/event_pump.h"

namespace {

// The longest a real wait sleeps between window pumps: long enough to cost nothing,
// short enough that windows repaint smoothly.
constexpr double kClockWaitSlice = 0.02;

class RealClock : public ToolkitClock {
  public:
    RealClock() { timer_.start(); }

    double now() override { return static_cast<double>(timer_.nsecsElapsed()) * 1e-9; }

    void waitUntil(double when) override {
        for (;;) {
            double remaining = when - now();
            if (remaining <= 0)
                return;
            PumpWindowEvents();
            remaining = when - now();
            if (remaining <= 0)
                return;
            SleepAnsweringCalls(std::min(remaining, kClockWaitSlice));
        }
    }

    void callAt(double when, std::function<void()> action) override {
        QCoreApplication* application = QCoreApplication::instance();
        if (!application)
            return;
        const double wait = std::max(when - now(), 0.0);
        QTimer::singleShot(static_cast<int>(std::ceil(wait * 1000)), application,
                           std::move(action));
    }

  private:
    QElapsedTimer timer_;
};

ToolkitClock* installedClock = nullptr;

ToolkitClock& realClock() {
    static RealClock clock;
    return clock;
}

}  // namespace

double ToolkitClock::wallTime() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

void SetToolkitClock(ToolkitClock* clock) {
    installedClock = clock;
}

ToolkitClock& CurrentClock() {
    return installedClock ? *installedClock : realClock();
}
