// End to end: a kx write and a qv write over a pseudo-terminal, then the entry kept before
// the kx write restored; quorvel-sim holds the block it had before, its clock aside.
#include <gtest/gtest.h>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "settings/history_page.h"
#include "tests/harness/operator.h"
#include "tests/harness/popups.h"
#include "tests/harness/sim_process.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

// The block text without the clock bytes 11 to 17, which run on.
std::string clockless(std::string text) {
    return text.erase(33, 21);
}

TEST(EndToEnd, RestoreOfTheEntryBeforeAKxWriteGivesTheBlockBack) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    sim.exportAs(1);
    RecordingPopups popups;  // answers Yes to the restore's question
    SetPopupAnswerer(&popups);
    resetVaskInterfaceState();
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    press(currentPanel, MAIN_CONNECT);
    ASSERT_EQ(TextBoxLines(connectedPanel, CONNECTED_TEXT).size(), 3u);

    press(currentPanel, MAIN_KX);
    press(currentPanel, KX_READ);
    ASSERT_TRUE(setValue(currentPanel, KX_BYTE7, 77));
    press(currentPanel, KX_SET);
    ASSERT_TRUE(IsPanelVisible(donePanel));
    press(currentPanel, KX_MAIN);
    press(currentPanel, MAIN_QV);
    press(currentPanel, QV_READ);
    ASSERT_TRUE(setValue(currentPanel, QV_BYTE9, 99));
    press(currentPanel, QV_SET);
    ASSERT_TRUE(IsPanelVisible(donePanel));

    HistoryPage page;
    ASSERT_EQ(page.entries().size(), 4u);
    const HistoryEntry beforeKx = page.entries()[3];
    ASSERT_EQ(beforeKx.action + " " + beforeKx.stage, "kx write before");
    page.selectEntry(3);
    EXPECT_EQ(page.restoreSelected(), RestoreOutcome::Written);
    EXPECT_EQ(popups.questions.size(), 1u);
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
    ASSERT_FALSE(page.instrumentText().empty());  // read afresh after the restore
    EXPECT_EQ(clockless(page.instrumentText()), clockless(beforeKx.text));
    DiscardAllPanels();
    SetPopupAnswerer(nullptr);
}

}  // namespace
