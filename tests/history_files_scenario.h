// What the scenarios of the settings history against hostile files share: a connected tool
// whose instrument keeps a valid scheduled start, and a kx write that keeps two lines.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "feedback/panel_set.h"
#include "history/history.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

inline constexpr char kSerial[] = "QV-0000012345";

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class HistoryFiles : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        putDecimalStart(instrument.block());
        instrument.block()[7] = 230;
        connect();
    }
    void TearDown() override {
        SetFileSpaceLimit(-1);
        ToolFixture::TearDown();
    }
    // A kx write of byte 7 from the panel; its history lines are the file's last two.
    void writeByte7(int value) {
        openFromMain(MAIN_KX);
        press(KX_READ);
        ::setValue(currentPanel, KX_BYTE7, value);
        press(KX_SET);
        press(KX_MAIN);
    }
    std::string path() const { return historyFilePath(kSerial); }
};
