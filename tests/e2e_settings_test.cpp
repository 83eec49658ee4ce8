// End to end: settings and the clock written over the real serial layer reach quorvel-sim.
#include <gtest/gtest.h>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "tests/harness/operator.h"
#include "tests/harness/popups.h"
#include "tests/harness/sim_process.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

int valueOf(int control) {
    int value = -1;
    GetCtrlVal(currentPanel, control, &value);
    return value;
}

TEST(EndToEnd, KxSetAndClockSetChangeTheInstrument) {
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    sim.exportAs(1);
    RecordingPopups popups;  // writes the panel's defaults: the operator answers Yes
    SetPopupAnswerer(&popups);
    resetVaskInterfaceState();
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    press(currentPanel, MAIN_CONNECT);
    ASSERT_EQ(TextBoxLines(connectedPanel, CONNECTED_TEXT).size(), 3u);

    press(currentPanel, MAIN_KX);
    ASSERT_TRUE(setValue(currentPanel, KX_BYTE7, 123));
    ASSERT_TRUE(setValue(currentPanel, KX_RS232, 1));
    press(currentPanel, KX_SET);
    EXPECT_TRUE(IsPanelVisible(donePanel));
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());

    // A fresh panel shows the defaults until it reads what the instrument now holds.
    press(currentPanel, KX_MAIN);
    press(currentPanel, MAIN_KX);
    ASSERT_EQ(valueOf(KX_BYTE7), 0);
    press(currentPanel, KX_READ);
    EXPECT_EQ(valueOf(KX_BYTE7), 123);
    EXPECT_EQ(valueOf(KX_RS232), 1);

    press(currentPanel, KX_MAIN);
    press(currentPanel, MAIN_CLOCK);
    ASSERT_TRUE(setValue(currentPanel, CLOCK_YEAR, 2031));
    ASSERT_TRUE(setValue(currentPanel, CLOCK_DAY_OF_MONTH, 15));  // day of month
    ASSERT_TRUE(setValue(currentPanel, CLOCK_MONTH, 6));          // month
    press(currentPanel, CLOCK_SET);
    EXPECT_TRUE(IsPanelVisible(donePanel));
    press(currentPanel, CLOCK_MAIN);
    press(currentPanel, MAIN_CLOCK);
    press(currentPanel, CLOCK_READ);
    EXPECT_EQ(valueOf(CLOCK_YEAR), 2031);
    EXPECT_EQ(valueOf(CLOCK_MONTH), 6);
    EXPECT_EQ(valueOf(CLOCK_DAY_OF_MONTH), 15);
    EXPECT_EQ(popups.questions.size(), 1u);  // the kx write; the clock's fields were entered
    DiscardAllPanels();
    SetPopupAnswerer(nullptr);
}

}  // namespace
