// End to end: the tool's real serial layer connects to quorvel-sim on a pseudo-terminal.
#include <gtest/gtest.h>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "tests/harness/operator.h"
#include "tests/harness/sim_process.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

TEST(EndToEnd, ConnectShowsTheSimulatedInstrumentsSerialNumber) {
    SimProcess sim({"--serial", "QV-E2E-0000042"});
    ASSERT_TRUE(sim.started());
    sim.exportAs(1);
    resetVaskInterfaceState();
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);

    press(currentPanel, MAIN_CONNECT);

    EXPECT_EQ(TextBoxLines(connectedPanel, CONNECTED_TEXT),
              (std::vector<std::string>{"You have successfully connected",
                                        "To Quorvel Serial Number", "QV-E2E-0000042"}));
    EXPECT_TRUE(IsPanelVisible(connectedPanel));
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
    DiscardAllPanels();
}

}  // namespace
