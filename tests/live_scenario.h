// What the live scenarios share: a connected tool on the live panel, a steady instrument,
// runs stopped by a press that lands inside the loop, and log files in a fresh directory.
#pragma once

#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "feedback/panel_set.h"
#include "live/live_callbacks.h"
#include "live/live_log.h"
#include "live/live_readout.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

// Flag bits of byte 42 that shape the records.
inline constexpr uint8_t kRs232Data = 0x02;
inline constexpr uint8_t kSecondChannel = 0x10;

// A file's text line by line, without the line feeds.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

class LiveScenario : public ToolFixture {
  protected:
    static constexpr double kStartExchange = 1.0;

    void SetUp() override {
        ToolFixture::SetUp();
        logDir = std::filesystem::temp_directory_path() /
                 ("quorvel-live-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(logDir);
        std::filesystem::create_directories(logDir);
        instrument.setDrift(0);
        connect();
        openFromMain(MAIN_LIVE);
        livePanel = currentPanel;
        clearWire();
    }
    void TearDown() override {
        ToolFixture::TearDown();
        closeLog();  // a test may end with its log open; Windows deletes no open file
        std::filesystem::remove_all(logDir);
    }

    // Presses start and lets records stream for about `seconds` before the stop press
    // lands in the loop (the start exchange takes under a second).
    void runFor(double seconds, int stopControl = LIVE_STOP) {
        pressAt(clock.now() + kStartExchange + seconds, stopControl);
        press(LIVE_START);
    }
    void chooseLog(const std::string& path) {
        popups.answerFileSelect(path, VAL_NEW_FILE_SELECTED);
        press(LIVE_LOG_FILE);
    }
    std::string logPath(const char* name) const { return (logDir / name).string(); }

    static std::string fileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::string repeated(const std::string& text, unsigned long times) {
        std::string all;
        for (unsigned long i = 0; i < times; ++i) all += text;
        return all;
    }
    // The record the steady instrument sends now, as the instrument formats it.
    std::string oneValueRecord() const {
        char text[8];
        std::snprintf(text, sizeof text, "%4d\r", instrument.reportedCounts());
        return text;
    }
    std::vector<double> points() const { return StripChartPoints(livePanel, LIVE_CHART); }
    std::vector<std::string> recordLines() const { return TextBoxLines(livePanel, LIVE_RECORD); }

    std::filesystem::path logDir;
    int livePanel = -1;
};
