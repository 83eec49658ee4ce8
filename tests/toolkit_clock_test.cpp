// The clocks: the virtual clock's order of actions, and Delay and Timer on either clock.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <string>
#include <vector>

#include "tests/harness/virtual_clock.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"

namespace {

TEST(VirtualClock, RunsActionsInTimeOrderAtTheirOwnTimes) {
    VirtualClock clock;
    std::vector<std::string> log;
    auto note = [&](const char* what) {
        log.push_back(what + ("@" + std::to_string(clock.now())));
    };
    clock.schedule(2.0, [&] { note("b"); });
    clock.schedule(1.0, [&] {
        note("a");
        clock.schedule(1.5, [&] { note("a2"); });  // scheduled by an action, still in order
    });
    clock.schedule(2.0, [&] { note("c"); });  // same time: order of scheduling
    clock.schedule(7.0, [&] { note("late"); });
    clock.waitUntil(5.0);
    EXPECT_EQ(clock.now(), 5.0);
    EXPECT_EQ(log,
              (std::vector<std::string>{"a@1.000000", "a2@1.500000", "b@2.000000", "c@2.000000"}));
    EXPECT_EQ(clock.nextActionTime(), 7.0);
    clock.advance(2.0);
    EXPECT_EQ(log.back(), "late@7.000000");
    EXPECT_EQ(clock.scheduledActions(), 0u);
}

TEST(VirtualClock, AnActionThatWaitsNeverTurnsTheClockBack) {
    VirtualClock clock;
    SetToolkitClock(&clock);
    double seenByLater = -1;
    clock.schedule(1.0, [] { Delay(2.0); });  // a callback that pauses
    clock.schedule(2.0, [&] { seenByLater = clock.now(); });
    Delay(1.5);
    EXPECT_EQ(seenByLater, 2.0);
    EXPECT_EQ(clock.now(), 3.0);  // the nested pause ended later than the outer one
    EXPECT_EQ(Timer(), 3.0);
    SetToolkitClock(nullptr);
}

TEST(RealClock, DelayWaitsOnTheRealClock) {
    SetToolkitClock(nullptr);
    QElapsedTimer elapsed;
    elapsed.start();
    const double before = Timer();
    EXPECT_EQ(Delay(0.05), 0);
    EXPECT_GE(Timer() - before, 0.05);
    EXPECT_GE(elapsed.nsecsElapsed(), 50'000'000);
    EXPECT_EQ(Delay(-1.0), 0);
}

}  // namespace
