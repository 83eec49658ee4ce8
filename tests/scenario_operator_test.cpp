// An operator step that misses its control fails the running test and reaches nothing:
// the harness reports through its failure hook, which the test entry turns into failures.
#include <gtest/gtest-spi.h>

#include "link/panel_set.h"
#include "tests/harness/tool_fixture.h"
#include "ui/vaskinterface_ids.h"

namespace {

using OperatorSteps = ToolFixture;

TEST_F(OperatorSteps, ThatMissTheirControlFailTheTestAndSendNothing) {
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(::press(messagePanel, MESSAGE_OK)),
                            "panel " + std::to_string(messagePanel) +
                                " is hidden: the operator cannot reach control " +
                                std::to_string(MESSAGE_OK));
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(::press(currentPanel, MAIN_PORT)), "is not a button");
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(::setValue(currentPanel, MAIN_CONNECT, 1)),
                            "takes no value");
    EXPECT_NONFATAL_FAILURE(::closeWindow(connectedPanel), "is not on screen: nothing to close");
    EXPECT_EQ(wire(), "");
    EXPECT_TRUE(visible(currentPanel));
}

}  // namespace
