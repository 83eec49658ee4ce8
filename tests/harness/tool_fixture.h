// The scenario fixture: the real tool (its callbacks, panels and widgets) against the
// simulated instrument on COM1, in-process, on a virtual clock.
//
// Arrange the instrument (instrument.block(), instrument.faults()), act as the operator
// (press, setValue, pressAt for a press that lands while a callback is still running),
// then assert the bytes the instrument received, the lines shown and the block it kept.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "sim/instrument.h"
#include "tests/harness/inprocess_line.h"
#include "tests/harness/operator.h"
#include "tests/harness/popups.h"
#include "tests/harness/virtual_clock.h"
#include "toolkit/platform/calendar.h"

class ToolFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Presses a control of the panel in front, as the operator would.
    void press(int control);
    // Presses at virtual time `when` (seconds on the clock), also inside a running callback.
    void pressAt(double when, int control);
    // Selects `port` on the main panel and presses connect.
    void connect(int port = 1);
    // Opens a panel from the main panel with its navigation button.
    void openFromMain(int mainButton);

    std::vector<std::string> messageLines() const;
    std::vector<std::string> connectedLines() const;
    bool visible(int panel) const;
    // Everything the instrument received since the last clearWire().
    std::string wire() const { return instrument.receivedText(); }
    void clearWire() { instrument.clearReceived(); }
    // The block text the instrument would send now (upper case, no checksum).
    std::string instrumentBlockText() const { return instrument.blockText(false); }
    // Virtual times at which each byte of `wire()` arrived.
    std::vector<double> wireTimes() const;
    // The settings history file of the instrument identified last, line by line.
    std::vector<std::string> historyLines() const;

    // This computer's clock as the tool sees it: fixed at 2025-06-15 09:30:00, a Sunday,
    // until a test moves it.
    CalendarTime computerNow{2025, 6, 15, 9, 30, 0, 0};
    // The settings history of the test, in a folder of its own.
    std::string historyDir;

    VirtualClock clock;
    InProcessBackend backend;
    sim::Instrument instrument;
    std::unique_ptr<InstrumentPeer> peer;
    RecordingPopups popups;

  private:
    QTemporaryDir historyDirs_;
};
