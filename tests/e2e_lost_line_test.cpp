// End to end: the instrument's line goes away during use and comes back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/vaskinterface.h"
#include "link/panel_set.h"
#include "tests/harness/operator.h"
#include "tests/harness/sim_process.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

TEST(EndToEnd, LostLineEndsTheActionWithAMessageAndAReconnectWorks) {
    const std::string link =
        (std::filesystem::temp_directory_path() / ("quorvel-lost-" + std::to_string(::getpid())))
            .string();
    auto sim = std::make_unique<SimProcess>(QStringList{"--link", QString::fromStdString(link)});
    ASSERT_TRUE(sim->started());
    setenv("QUORVEL_COM1", link.c_str(), 1);
    resetVaskInterfaceState();
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    press(currentPanel, MAIN_CONNECT);
    ASSERT_EQ(TextBoxLines(connectedPanel, CONNECTED_TEXT).size(), 3u);

    // The adapter is pulled out: the next exchange ends with the error code, no hang.
    sim.reset();
    press(currentPanel, MAIN_KX);
    press(currentPanel, KX_READ);
    const auto lines = TextBoxLines(messagePanel, MESSAGE_TEXT);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "error code = " + std::to_string(kComDeviceLost));
    EXPECT_TRUE(IsPanelVisible(messagePanel));
    EXPECT_FALSE(isDimmed(currentPanel));

    // Back again: a new connect reaches the instrument.
    sim = std::make_unique<SimProcess>(QStringList{"--link", QString::fromStdString(link)});
    ASSERT_TRUE(sim->started());
    press(currentPanel, KX_MAIN);
    press(currentPanel, MAIN_CONNECT);
    EXPECT_EQ(TextBoxLines(connectedPanel, CONNECTED_TEXT).size(), 3u);
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
    DiscardAllPanels();
    unsetenv("QUORVEL_COM1");
}

}  // namespace
