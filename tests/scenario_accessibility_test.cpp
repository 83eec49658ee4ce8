// The tool with a screen reader attached: every flow of the operator's day, with a client
// reading every accessible object after each step and after every accessibility update,
// as a reader's calls arrive. Nothing may crash, and no object may hand out what is not
// there (see tests/harness/accessibility_client.h). The navigation bar is read and used as
// a reader and voice control meet it: page tabs whose action goes to the page.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <memory>

#include "feedback/panel_set.h"
#include "live/live_readout.h"
#include "tests/harness/accessibility_client.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

class AccessibleTool : public ToolFixture {
  protected:
    void SetUp() override {
        reader = std::make_unique<AccessibilityClient>();
        ToolFixture::SetUp();
        reader->walk();
    }
    void TearDown() override {
        ToolFixture::TearDown();
        reader.reset();
    }

    // A press, then the reader's look at the whole window.
    void step(int control) {
        press(control);
        reader->walk();
    }
    void go(const char* entry) {
        ASSERT_TRUE(PressShellEntry(entry)) << entry;
        reader->walk();
    }
    // The navigation entry's accessible interface, by its label.
    static QAccessibleInterface* entry(const char* label) {
        QAccessibleInterface* found = nullptr;
        const auto search = [&](auto&& self, QAccessibleInterface* iface) -> void {
            if (!iface || found)
                return;
            if (iface->role() == QAccessible::PageTab && iface->text(QAccessible::Name) == label)
                found = iface;
            for (int i = 0; i < iface->childCount(); ++i) self(self, iface->child(i));
        };
        search(search, QAccessible::queryAccessibleInterface(qApp));
        return found;
    }

    std::unique_ptr<AccessibilityClient> reader;
};

TEST_F(AccessibleTool, EveryFlowCanBeReadThroughout) {
    step(MAIN_CONNECT);
    ASSERT_TRUE(visible(connectedPanel));

    for (const char* place : {"kx settings", "qv settings", "Real-time clock", "Scheduled start",
                              "Live data", "Calibration", "History", "Main panel"})
        go(place);

    // A write with its Write done band, then a refused one with the message pane.
    go("kx settings");
    step(KX_READ);
    step(KX_SET);
    EXPECT_TRUE(visible(donePanel));
    instrument.faults().wrongLetterFor = 'w';
    step(KX_SET);
    instrument.faults().wrongLetterFor = 0;
    EXPECT_TRUE(visible(messagePanel));

    // A live run stopped, one that loses its line, and Return.
    go("Live data");
    pressAt(clock.now() + 1.5, LIVE_STOP);
    step(LIVE_START);
    EXPECT_GT(liveRecordsShown, 50u);
    ASSERT_TRUE(setValue(currentPanel, LIVE_RECONNECT, 0));
    clock.schedule(clock.now() + 1.5, [this] { backend.dropLine(1); });
    step(LIVE_START);
    EXPECT_EQ(messageLines().back().rfind("error code = ", 0), 0u);
    step(LIVE_RETURN);
    go("Main panel");
    step(MAIN_CONNECT);
    go("History");

    // The Ports dialog, read while it is up.
    bool readInDialog = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        reader->walk();
        readInDialog = true;
        dialog->reject();
    });
    go("Ports…");
    EXPECT_TRUE(readInDialog);
    EXPECT_GT(reader->updates(), 100u);
    EXPECT_GT(reader->walks(), 40u);
}

TEST_F(AccessibleTool, TheNavigationBarIsPageTabsAndATabsActionGoesToItsPage) {
    QAccessibleInterface* mainTab = entry("Main panel");
    ASSERT_NE(mainTab, nullptr);
    EXPECT_EQ(mainTab->parent()->role(), QAccessible::PageTabList);
    EXPECT_TRUE(mainTab->state().selected);

    QAccessibleInterface* kx = entry("kx settings");
    ASSERT_NE(kx, nullptr);
    EXPECT_FALSE(kx->state().selected);
    EXPECT_TRUE(kx->state().selectable);
    QAccessibleActionInterface* actions = kx->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_FALSE(actions->actionNames().isEmpty());
    // The first action is the default one readers and voice control use.
    EXPECT_EQ(actions->actionNames().first(), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
              QStringList("Alt+K"));
    actions->doAction(QAccessibleActionInterface::pressAction());
    // The page opens a moment later, once the reader's call has returned.
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_MAIN);
    QCoreApplication::processEvents();
    DeleteDiscardedPanels();
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_KX);
    EXPECT_TRUE(visible(currentPanel));
    EXPECT_TRUE(entry("kx settings")->state().selected);
    EXPECT_FALSE(entry("Main panel")->state().selected);
    EXPECT_EQ(ShellMarkedEntry(), "kx settings");
}

// Pages left behind go with their widgets: the reader meets the same number of objects
// however often the operator has gone round, live runs included.
TEST_F(AccessibleTool, GoingRoundAgainAndAgainLeavesNothingBehind) {
    step(MAIN_CONNECT);
    const auto round = [this] {
        for (const char* place : {"kx settings", "qv settings", "Real-time clock",
                                  "Scheduled start", "Calibration", "History", "Main panel"})
            go(place);
        go("Live data");
        pressAt(clock.now() + 1.2, LIVE_STOP);
        step(LIVE_START);
        go("Main panel");
    };
    round();
    const int objects = reader->walk();
    const auto panels = LoadedPanels().size();
    for (int i = 0; i < 5; ++i) round();
    EXPECT_EQ(reader->walk(), objects);
    EXPECT_EQ(LoadedPanels().size(), panels);
}

}  // namespace
