// Shared by the calibration scenarios: the calibration panel opened against the simulated
// instrument, its inputs, the standard output of a press, and the block texts expected.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

// `block` with the calibration fields set.
inline Block withCalibration(Block block, int scaleTrim, int rangeCode, int gain, int zero,
                             int tenths) {
    block[1] = static_cast<uint8_t>(scaleTrim);
    block[2] = static_cast<uint8_t>(rangeCode);
    block[3] = static_cast<uint8_t>((gain >> 8) & 0xFF);
    block[4] = static_cast<uint8_t>(gain & 0xFF);
    block[5] = static_cast<uint8_t>((zero >> 8) & 0xFF);
    block[6] = static_cast<uint8_t>(zero & 0xFF);
    block[24] = static_cast<uint8_t>(tenths);
    return block;
}

struct CalibrationInputs {
    float gaugeLength = 2.0f;
    int gaugeType = 0;
    float levelA = 200, levelB = 1800;
    float readingA = 400, readingB = 3700;
};

class CalibrationScenario : public ToolFixture {
  protected:
    void TearDown() override {
        qunsetenv("QUORVEL_UIR");
        ToolFixture::TearDown();
    }

    // Connects, opens the calibration panel from the main panel and forgets the wire.
    void openCalibration() {
        connect();
        openFromMain(MAIN_CALIBRATE);
        clearWire();
    }

    void enter(const CalibrationInputs& in) {
        ASSERT_EQ(SetCtrlVal(currentPanel, CAL_GAUGE_LENGTH, in.gaugeLength), 0);
        ASSERT_EQ(SetCtrlVal(currentPanel, CAL_GAUGE_TYPE, in.gaugeType), 0);
        ASSERT_EQ(SetCtrlVal(currentPanel, CAL_LEVEL_A, in.levelA), 0);
        ASSERT_EQ(SetCtrlVal(currentPanel, CAL_LEVEL_B, in.levelB), 0);
        ASSERT_EQ(SetCtrlVal(currentPanel, CAL_READING_A, in.readingA), 0);
        ASSERT_EQ(SetCtrlVal(currentPanel, CAL_READING_B, in.readingB), 0);
    }

    // Presses `control` and returns what the press wrote to standard output.
    std::string pressCapturing(int control) {
        testing::internal::CaptureStdout();
        press(control);
        return testing::internal::GetCapturedStdout();
    }

    void addEarlierMessage() { InsertTextBoxLine(messagePanel, MESSAGE_TEXT, -1, "earlier"); }

    // Restarts the tool on a resource file whose calibration rings offer more than the
    // tables hold: gauge type 3 and a gauge length of 0.75.
    void startWithWideRings() {
        std::ifstream in(QUORVEL_SOURCE_DIR "/ui/VASKInterface.uir");
        std::stringstream original;
        original << in.rdbuf();
        std::string text = std::regex_replace(original.str(), std::regex(R"(\[2, "Type 2"\])"),
                                              R"([2, "Type 2"], [3, "Type 3"])");
        text = std::regex_replace(text, std::regex(R"(\[0\.5, "0\.5"\])"),
                                  R"([0.5, "0.5"], [0.75, "0.75"])");
        const auto path = std::filesystem::temp_directory_path() / "quorvel-calibration-rings.uir";
        std::ofstream(path) << text;
        DiscardAllPanels();
        resetVaskInterfaceState();
        qputenv("QUORVEL_UIR", QByteArray::fromStdString(path.string()));
        ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    }

    // Every byte but the clock distinct, many with hex letters, so that a byte moved or
    // left out shows; the flag byte without the clock-set flag, which a write would act on.
    Block arrangeBlock(int gain = 4096, int zero = 0) {
        Block& block = instrument.block();
        for (int i = 0; i < 43; ++i)
            if (i < kFirstClockByte || i > kLastClockByte)
                block[i] = static_cast<uint8_t>(i * 29 + 0x1B);
        putDecimalStart(block);
        block[42] = 0xD5;
        block = withCalibration(block, block[1], block[2], gain, zero, block[24]);
        return block;
    }

    // The block the instrument keeps, without its running clock.
    Block kept() const { return clockless(instrument.block()); }
    // The text of the block write on the wire after "rw".
    std::string sentBlock() const { return wire().size() > 2 ? wire().substr(2) : ""; }
    bool onCalibrationPanel() const {
        return PanelResourceId(currentPanel) == PANEL_CALIBRATION && visible(currentPanel);
    }
};
