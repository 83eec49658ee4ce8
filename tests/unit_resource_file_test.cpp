// The resource file, the header of ids and the table of callbacks agree.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <map>
#include <set>
#include <string>

#include "app/callback_table.h"
#include "ui/vaskinterface_ids.h"

namespace {

struct Control {
    std::string kind;
    std::string dataType;
    double min = 0, max = 0;
};
using Panel = std::map<int, Control>;

class ResourceFile : public ::testing::Test {
  protected:
    void SetUp() override {
        QFile file(QUORVEL_SOURCE_DIR "/ui/VASKInterface.uir");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const auto doc = QJsonDocument::fromJson(file.readAll());
        ASSERT_TRUE(doc.isObject());
        for (const auto& p : doc.object()["panels"].toArray()) {
            const auto panel = p.toObject();
            const int id = panel["id"].toInt();
            titles[id] = panel["title"].toString().toStdString();
            const auto panelCallback = panel["callback"].toString().toStdString();
            if (!panelCallback.empty())
                named.insert(panelCallback);
            for (const auto& c : panel["controls"].toArray()) {
                const auto control = c.toObject();
                panels[id][control["id"].toInt()] = {control["kind"].toString().toStdString(),
                                                     control["dataType"].toString().toStdString(),
                                                     control["min"].toDouble(),
                                                     control["max"].toDouble()};
                const auto callback = control["callback"].toString().toStdString();
                if (!callback.empty())
                    named.insert(callback);
            }
        }
    }

    void expectControl(int panel, int control, const std::string& kind,
                       const std::string& type = "") {
        ASSERT_TRUE(panels[panel].count(control)) << "panel " << panel << " control " << control;
        EXPECT_EQ(panels[panel][control].kind, kind) << "panel " << panel << " control " << control;
        if (!type.empty()) {
            EXPECT_EQ(panels[panel][control].dataType, type);
        }
    }
    void expectRange(int panel, int control, double min, double max) {
        EXPECT_GE(panels[panel][control].min, min) << "panel " << panel << " control " << control;
        EXPECT_LE(panels[panel][control].max, max) << "panel " << panel << " control " << control;
    }

    std::map<int, Panel> panels;
    std::map<int, std::string> titles;
    std::set<std::string> named;
};

TEST_F(ResourceFile, HoldsEveryPanelOfTheCatalogueWithATitle) {
    for (int id : {PANEL_CALIBRATION, PANEL_QV, PANEL_KX, PANEL_LIVE, PANEL_MESSAGE, PANEL_MAIN,
                   PANEL_CONNECTED, PANEL_CLOCK, PANEL_START, PANEL_DONE}) {
        ASSERT_TRUE(titles.count(id)) << id;
        EXPECT_FALSE(titles[id].empty()) << id;
    }
    EXPECT_FALSE(titles.count(2));
}

TEST_F(ResourceFile, ControlsHaveTheKindsAndTypesTheToolReadsThemAs) {
    for (int c : {CAL_READING_B, CAL_READING_A, CAL_LEVEL_B, CAL_LEVEL_A})
        expectControl(PANEL_CALIBRATION, c, "numeric", "float");
    expectControl(PANEL_CALIBRATION, CAL_GAUGE_LENGTH, "ring", "float");
    expectControl(PANEL_CALIBRATION, CAL_GAUGE_TYPE, "ring", "int");
    for (int c : {QV_BYTE7, QV_BYTE8, QV_BYTE9, QV_BYTE10, QV_BYTE23})
        expectControl(PANEL_QV, c, "numeric", "int");
    for (int c : {QV_START_FLAG, QV_SECOND_CHANNEL, QV_OPTION0_OFF, QV_RS232})
        expectControl(PANEL_QV, c, "binary");
    expectControl(PANEL_KX, KX_BYTE7, "numeric", "int");
    for (int c : {KX_SECOND_CHANNEL, KX_START_FLAG, KX_OPTION0, KX_OPTION6, KX_RS232})
        expectControl(PANEL_KX, c, "binary");
    expectControl(PANEL_LIVE, LIVE_RECORD, "textbox");
    expectControl(PANEL_LIVE, LIVE_SECOND, "indicator", "double");
    expectControl(PANEL_LIVE, LIVE_CHART, "stripchart");
    expectControl(PANEL_MESSAGE, MESSAGE_TEXT, "textbox");
    expectControl(PANEL_CONNECTED, CONNECTED_TEXT, "textbox");
    expectControl(PANEL_MAIN, MAIN_PORT, "ring", "int");
    for (int c : {CLOCK_YEAR, CLOCK_MONTH, CLOCK_DAY_OF_MONTH, CLOCK_DAY_OF_WEEK, CLOCK_HOURS,
                  CLOCK_MINUTES, CLOCK_SECONDS})
        expectControl(PANEL_CLOCK, c, "numeric", "int");
    for (int c : {START_YEAR, START_MONTH, START_DAY, START_HOUR, START_MINUTE})
        expectControl(PANEL_START, c, "numeric", "int");
}

TEST_F(ResourceFile, RangesKeepEveryValueInsideItsCell) {
    expectRange(PANEL_KX, KX_BYTE7, 0, 255);
    for (int c : {QV_BYTE7, QV_BYTE8, QV_BYTE9, QV_BYTE10}) expectRange(PANEL_QV, c, 0, 255);
    expectRange(PANEL_QV, QV_BYTE23, 0, 15);
    expectRange(PANEL_CLOCK, CLOCK_YEAR, 2000, 2099);
    expectRange(PANEL_CLOCK, CLOCK_DAY_OF_WEEK, 1, 100);
    for (int c : {CLOCK_MONTH, CLOCK_DAY_OF_MONTH, CLOCK_HOURS, CLOCK_MINUTES, CLOCK_SECONDS})
        expectRange(PANEL_CLOCK, c, 0, 99);
    expectRange(PANEL_START, START_YEAR, 2000, 2099);
    for (int c : {START_MONTH, START_DAY, START_HOUR, START_MINUTE})
        expectRange(PANEL_START, c, 0, 99);
}

TEST_F(ResourceFile, EveryNamedCallbackIsBoundAndEveryBoundOneIsNamed) {
    std::set<std::string> bound;
    for (const auto& binding : callbackTable()) {
        EXPECT_TRUE(bound.insert(binding.name).second) << "bound twice: " << binding.name;
        EXPECT_TRUE((binding.control != nullptr) != (binding.panel != nullptr)) << binding.name;
    }
    // The main page's overview, a widget of the application's own, runs this one by name.
    named.insert("readinstrumentcallback");
    EXPECT_EQ(named, bound);
}

}  // namespace
