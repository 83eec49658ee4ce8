// An operator step that misses its control fails the running test and reaches nothing:
// the harness reports through its failure hook, which the test entry turns into failures.
#include <gtest/gtest-spi.h>

#include "feedback/panel_set.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/userint.h"
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

// Values of a thousand and more, which the locale would write with a group separator.
TEST_F(OperatorSteps, EnterLargeValuesAndAreRefusedOutOfRange) {
    connect();
    openFromMain(MAIN_CALIBRATE);
    EXPECT_TRUE(::setValue(currentPanel, CAL_LEVEL_B, 2500.0));
    EXPECT_TRUE(::setValue(currentPanel, CAL_READING_B, 3650.5));
    EXPECT_FALSE(::setValue(currentPanel, CAL_READING_A, 4096.0));
    float levelB = 0, readingB = 0;
    ASSERT_EQ(GetCtrlVal(currentPanel, CAL_LEVEL_B, &levelB), 0);
    ASSERT_EQ(GetCtrlVal(currentPanel, CAL_READING_B, &readingB), 0);
    EXPECT_EQ(levelB, 2500.0f);
    EXPECT_EQ(readingB, 3650.5f);
}

}  // namespace
