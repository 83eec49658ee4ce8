// The test resource file, the logging callbacks and the fixture that loads panels from it.
#include "tests/toolkit_panels_fixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <set>

#include "toolkit/panels/testing.h"

namespace panels_test {

std::vector<std::string>& log() {
    static std::vector<std::string> entries;
    return entries;
}

std::function<void(int panel)> whileSlow;

namespace {

std::string labelOf(int panel, int control) {
    const QWidget* w = ControlWidget(panel, control);
    return w ? w->accessibleName().toStdString() : "control " + std::to_string(control);
}

const std::array<CallbackBinding, 3> kCallbacks{{
    {"record", record, nullptr},
    {"slow", slow, nullptr},
    {"watch", nullptr, watch},
}};

}  // namespace

int record(int panel, int control, int event, void*, int, int) {
    log().push_back(labelOf(panel, control) + " " + std::to_string(event));
    return 0;
}

int slow(int panel, int control, int event, void*, int, int) {
    log().push_back(labelOf(panel, control) + " " + std::to_string(event));
    if (event == EVENT_COMMIT && whileSlow)
        whileSlow(panel);
    log().push_back(labelOf(panel, control) + " end");
    return 0;
}

int watch(int, int event, void*, int, int) {
    log().push_back("panel " + std::to_string(event));
    return 0;
}

namespace {

int ignoreControl(int, int, int, void*, int, int) {
    return 0;
}
int ignorePanel(int, int, void*, int, int) {
    return 0;
}

}  // namespace

void bindEveryCallbackOf(const std::string& file) {
    static std::set<std::string> names;  // the table points into it
    QFile in(QString::fromStdString(file));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << file;
    std::vector<CallbackBinding> table;
    auto bind = [&](const QJsonObject& o, bool panel) {
        const std::string name = o["callback"].toString().toStdString();
        if (name.empty())
            return;
        const char* stored = names.insert(name).first->c_str();
        table.push_back({stored, panel ? nullptr : ignoreControl, panel ? ignorePanel : nullptr});
    };
    for (const auto& p : QJsonDocument::fromJson(in.readAll()).object()["panels"].toArray()) {
        bind(p.toObject(), true);
        for (const auto& c : p.toObject()["controls"].toArray()) bind(c.toObject(), false);
    }
    BindCallbacks(table);
}

void Panels::SetUp() {
    ASSERT_TRUE(dir.isValid());
    log().clear();
    whileSlow = nullptr;
    qunsetenv("QUORVEL_UIR");
    BindCallbacks(kCallbacks);
    path = writeResource("panels.uir", kResourceText);
}

void Panels::TearDown() {
    DiscardAllPanels();
    SetPopupAnswerer(nullptr);
    whileSlow = nullptr;
}

std::string Panels::writeResource(const std::string& name, const std::string& text) {
    const QString file = dir.filePath(QString::fromStdString(name));
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(text.data(), static_cast<qint64>(text.size()));
    return file.toStdString();
}

int Panels::load(int panelId) {
    const int handle = LoadPanel(0, path.c_str(), panelId);
    EXPECT_GT(handle, 0) << "panel " << panelId;
    return handle;
}

int Panels::show(int panelId) {
    const int handle = load(panelId);
    EXPECT_EQ(DisplayPanel(handle), 0);
    return handle;
}

}  // namespace panels_test
