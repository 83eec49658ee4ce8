// What the operator does reaches the callbacks one at a time: queued while a callback
// runs, dispatched by GetUserEvent, refused by dimmed controls; the close box.
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <thread>

#include "tests/harness/operator.h"
#include "tests/toolkit_panels_fixture.h"
#include "toolkit/panels/dispatch.h"
#include "toolkit/panels/testing.h"
#include "toolkit/platform/event_pump.h"
#include "toolkit/platform/utility.h"

namespace panels_test {
namespace {

using Log = std::vector<std::string>;

class Events : public Panels {
  protected:
    void SetUp() override {
        Panels::SetUp();
        panel = show();
    }
    int panel = 0;
};

TEST_F(Events, PressesAndOperatorChangesCommitToTheControlsCallback) {
    press(panel, kGo);
    EXPECT_TRUE(setValue(panel, kCount, 42));
    EXPECT_TRUE(setValue(panel, kPort, 4));
    EXPECT_TRUE(setValue(panel, kEnabled, 0));
    EXPECT_TRUE(setValue(panel, kLevel, 12.5f));  // no callback: nothing reaches the log
    EXPECT_EQ(log(), (Log{"Go 1", "Count 1", "Port 1", "Enabled 1"}));

    int i = 0;
    float f = 0;
    GetCtrlVal(panel, kCount, &i);
    EXPECT_EQ(i, 42);
    GetCtrlVal(panel, kPort, &i);
    EXPECT_EQ(i, 4);
    GetCtrlVal(panel, kLevel, &f);
    EXPECT_EQ(f, 12.5f);

    log().clear();
    EXPECT_TRUE(setValue(panel, kCount, 42));    // the same value again changes nothing
    EXPECT_FALSE(setValue(panel, kCount, 256));  // the entry refuses it
    EXPECT_TRUE(log().empty());
    GetCtrlVal(panel, kCount, &i);
    EXPECT_EQ(i, 42);
}

TEST_F(Events, ARightClickReachesOnlyControlsWithACallback) {
    rightClick(panel, kGo);
    rightClick(panel, kCount);  // lands on the entry inside the spin box
    rightClick(panel, kLevel);
    EXPECT_EQ(log(), (Log{"Go 5", "Count 5"}));
}

// A press made while an exchange runs must not start another exchange afterwards: only
// the running callback's own polls take input, and what is left is dropped.
TEST_F(Events, InputDuringACallbackIsDiscardedWhenItReturns) {
    whileSlow = [](int p) {
        EXPECT_TRUE(InsideCallback());
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        press(p, kGo);
        setValue(p, kCount, 42);
        rightClick(p, kGo);
        closeWindow(p);
        log().push_back("operator done");
    };
    EXPECT_FALSE(InsideCallback());
    press(panel, kSlow);
    EXPECT_EQ(log(), (Log{"Slow 1", "operator done", "Slow end"}));
    EXPECT_FALSE(InsideCallback());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    whileSlow = nullptr;
    press(panel, kGo);  // once it has returned, input goes through again
    EXPECT_EQ(log(), (Log{"Slow 1", "operator done", "Slow end", "Go 1"}));
}

TEST_F(Events, GetUserEventRunsTheQueuedEventsNestedAndReturnsAtOnce) {
    whileSlow = [](int p) {
        int eventPanel = -1, eventControl = -1;
        EXPECT_EQ(GetUserEvent(0, &eventPanel, &eventControl), EVENT_NONE);
        press(p, kGo);
        rightClick(p, kCount);
        EXPECT_EQ(GetUserEvent(0, &eventPanel, &eventControl), EVENT_RIGHT_CLICK);
        EXPECT_EQ(eventPanel, p);
        EXPECT_EQ(eventControl, kCount);
        EXPECT_TRUE(InsideCallback());
        log().push_back("polled");
    };
    press(panel, kSlow);
    EXPECT_EQ(log(), (Log{"Slow 1", "Go 1", "Count 5", "polled", "Slow end"}));
}

TEST_F(Events, PumpingWindowsInsideACallbackDeliversInputButDispatchesNothing) {
    whileSlow = [](int p) {
        QWidget* go = ControlWidget(p, kGo);
        const QPointF at = go->rect().center();
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QCoreApplication::postEvent(
                go,
                new QMouseEvent(type, at, go->mapToGlobal(at), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
        }
        PumpWindowEvents();
        log().push_back("pumped");
        int eventPanel = -1, eventControl = -1;
        EXPECT_EQ(GetUserEvent(0, &eventPanel, &eventControl), EVENT_COMMIT);
        EXPECT_EQ(eventControl, kGo);
    };
    press(panel, kSlow);
    EXPECT_EQ(log(), (Log{"Slow 1", "pumped", "Go 1", "Slow end"}));
}

TEST_F(Events, ACallbackMayDiscardThePanelItCameFrom) {
    whileSlow = [](int p) {
        press(p, kGo);
        EXPECT_EQ(DiscardPanel(p), 0);
        EXPECT_EQ(PanelWindow(p), nullptr);
        PumpWindowEvents();
    };
    press(panel, kSlow);
    EXPECT_EQ(log(), (Log{"Slow 1", "control 12 end"}));
    EXPECT_TRUE(LoadedPanels().empty());
}

TEST_F(Events, ADimmedPanelOrControlTakesNoInput) {
    int dimmed = -1;
    ASSERT_EQ(SetPanelAttribute(panel, ATTR_DIMMED, 1), 0);
    EXPECT_EQ(GetPanelAttribute(panel, ATTR_DIMMED, &dimmed), 0);
    EXPECT_EQ(dimmed, 1);
    EXPECT_TRUE(isDimmed(panel));
    press(panel, kGo);
    EXPECT_FALSE(setValue(panel, kCount, 42));
    rightClick(panel, kGo);
    EXPECT_TRUE(log().empty());

    ASSERT_EQ(SetPanelAttribute(panel, ATTR_DIMMED, 0), 0);
    EXPECT_FALSE(isDimmed(panel));
    ASSERT_EQ(SetCtrlAttribute(panel, kGo, ATTR_DIMMED, 1), 0);
    EXPECT_EQ(GetCtrlAttribute(panel, kGo, ATTR_DIMMED, &dimmed), 0);
    EXPECT_EQ(dimmed, 1);
    EXPECT_TRUE(isControlDimmed(panel, kGo));
    press(panel, kGo);
    press(panel, kQuit);
    EXPECT_EQ(log(), (Log{"Quit 1"}));

    EXPECT_EQ(SetPanelAttribute(panel, 499, 1), UIE_InvalidAttribute);
    EXPECT_EQ(SetPanelAttribute(panel, ATTR_DIMMED, 2), UIE_ValueOutOfRange);
    EXPECT_EQ(SetCtrlAttribute(panel, kGo, 499, 1), UIE_InvalidAttribute);
}

TEST_F(Events, TheCloseBoxDoesWhatTheResourceFileSays) {
    const int resident = show(kResident);
    const int watched = show(kWatched);
    const int plain = show(kPlain);

    closeWindow(panel);  // acts as its Quit button
    closeWindow(resident);
    closeWindow(watched);
    closeWindow(plain);
    EXPECT_EQ(log(), (Log{"Quit 1", "panel 11"}));
    EXPECT_TRUE(IsPanelVisible(panel));
    EXPECT_FALSE(IsPanelVisible(resident));
    EXPECT_TRUE(IsPanelVisible(watched));
    EXPECT_TRUE(IsPanelVisible(plain));
}

TEST_F(Events, AHideButtonHidesItsPanelWithoutACallback) {
    press(panel, kOk);
    EXPECT_FALSE(IsPanelVisible(panel));
    EXPECT_TRUE(log().empty());
}

TEST_F(Events, RunUserInterfaceDispatchesUntilQuitAndReturnsItsCode) {
    QTimer::singleShot(0, [this] {
        press(panel, kGo);
        QuitUserInterface(3);
    });
    EXPECT_EQ(RunUserInterface(), 3);
    EXPECT_EQ(log(), (Log{"Go 1"}));
    EXPECT_FALSE(QuitRequested());

    // A quit from a callback run outside the loop ends the next loop at once.
    QuitUserInterface(5);
    int code = 0;
    EXPECT_TRUE(QuitRequested(&code));
    EXPECT_EQ(code, 5);
    EXPECT_EQ(RunUserInterface(), 5);
    EXPECT_EQ(InitToolkit(0, nullptr), 0);
}

// A screen reader asks its many small questions from another thread while a callback waits
// (a live run waiting out its lost line): each is answered within the wait, not a window
// slice later. Slices of 20 ms would answer about 50 in this second.
TEST_F(Events, AWaitAnswersAnotherThreadsCallsOneAfterAnother) {
    QObject answerer;
    std::atomic<bool> done{false};
    std::atomic<bool> finished{false};
    std::atomic<int> answered{0};
    std::thread client([&] {
        while (!done) {
            QMetaObject::invokeMethod(
                &answerer, [] {}, Qt::BlockingQueuedConnection);
            ++answered;
        }
        finished = true;
    });
    Delay(1.0);
    const int duringTheWait = answered;
    done = true;
    while (!finished)  // the call in flight, if any
        QCoreApplication::processEvents();
    client.join();
    EXPECT_GE(duringTheWait, 200);
}

}  // namespace
}  // namespace panels_test
