// Loading panels from resource files, and control values in their own types.
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstdlib>
#include <limits>
#include <set>

#include "tests/toolkit_panels_fixture.h"
#include "toolkit/panels/resource_file.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/testing.h"

namespace panels_test {
namespace {

std::vector<std::string> stderrLines(const std::string& captured) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = captured.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(captured.substr(start, end - start));
    return lines;
}

class Loading : public Panels {
  protected:
    // Loads and expects `code`, with exactly one line on stderr holding each of `needles`.
    void expectFailure(const std::string& file, int panelId, int code,
                       std::initializer_list<std::string> needles) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(LoadPanel(0, file.c_str(), panelId), code);
        const auto lines = stderrLines(testing::internal::GetCapturedStderr());
        ASSERT_EQ(lines.size(), 1u);
        for (const auto& needle : needles)
            EXPECT_NE(lines[0].find(needle), std::string::npos) << lines[0] << " lacks " << needle;
        EXPECT_TRUE(LoadedPanels().empty());
    }

    // The test resource with `from` replaced by `to`.
    std::string variant(const std::string& from, const std::string& to) {
        std::string text = kResourceText;
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return writeResource("variant.uir", text.replace(at, from.size(), to));
    }
};

TEST_F(Loading, EachLoadIsANewHiddenInstanceWithTheFilesValuesAndAFreshHandle) {
    const int first = load(kTest);
    const int second = load(kTest);
    EXPECT_GT(second, first);
    EXPECT_FALSE(IsPanelVisible(first));
    EXPECT_EQ(PanelResourceId(second), kTest);
    EXPECT_EQ(PanelWindow(first)->windowTitle(), "Test panel");

    ASSERT_EQ(SetCtrlVal(first, kCount, 99), 0);
    int value = 0;
    EXPECT_EQ(GetCtrlVal(second, kCount, &value), 0);
    EXPECT_EQ(value, 7);

    EXPECT_EQ(DiscardPanel(first), 0);
    EXPECT_EQ(DiscardPanel(first), UIE_InvalidPanel);
    const int third = load(kTest);
    EXPECT_GT(third, second);
    EXPECT_EQ(LoadedPanels(), (std::vector<int>{second, third}));
    DiscardAllPanels();
    EXPECT_TRUE(LoadedPanels().empty());
    EXPECT_GT(load(kTest), third);
}

TEST_F(Loading, UnknownHandlesAreRefusedEverywhere) {
    int value = 0;
    for (int bad : {0, -1, 12345}) {
        EXPECT_EQ(DisplayPanel(bad), UIE_InvalidPanel);
        EXPECT_EQ(HidePanel(bad), UIE_InvalidPanel);
        EXPECT_EQ(GetCtrlVal(bad, kCount, &value), UIE_InvalidPanel);
        EXPECT_EQ(SetPanelAttribute(bad, ATTR_DIMMED, 1), UIE_InvalidPanel);
        EXPECT_EQ(ResetTextBox(bad, kLog, ""), UIE_InvalidPanel);
        EXPECT_EQ(PanelResourceId(bad), UIE_InvalidPanel);
        EXPECT_EQ(PanelWindow(bad), nullptr);
    }
    const int panel = load(kTest);
    EXPECT_EQ(SetCtrlVal(panel, 77, 1), UIE_InvalidControl);
    EXPECT_EQ(PlotStripChartPoint(panel, 77, 1.0), UIE_InvalidControl);
    EXPECT_EQ(ControlWidget(panel, 77), nullptr);
}

TEST_F(Loading, FailuresReturnTheirCodeAndNameTheProblemOnOneLine) {
    expectFailure(path + ".missing", kTest, UIE_ResourceFileMissing, {"panels.uir.missing"});
    expectFailure(writeResource("broken.uir", "{\"format\": \"quorvel-panels/1\", \"panels\": ["),
                  kTest, UIE_ResourceFileMalformed, {"broken.uir", "malformed"});
    expectFailure(path, 99, UIE_PanelIdNotFound, {path, "no panel with id 99"});
    expectFailure(variant(R"("label": "Reading")", R"("label": "Count")"), kTest,
                  UIE_ResourceFileMalformed, {"variant.uir", "panel 1", "\"Count\""});
    expectFailure(variant(R"("kind": "ring")", R"("kind": "dial")"), kTest,
                  UIE_ResourceFileMalformed, {"panel 1, control 6", "dial"});
    expectFailure(variant(R"("max": 255)", R"("max": "many")"), kTest, UIE_ResourceFileMalformed,
                  {"panel 1, control 2", "\"max\""});
    expectFailure(variant(R"("value": 7)", R"("value": 300)"), kTest, UIE_ResourceFileMalformed,
                  {"control 2", "value"});
    expectFailure(variant(R"({"press": 20})", R"({"press": 8})"), kTest, UIE_ResourceFileMalformed,
                  {"onClose"});
    expectFailure(variant(R"("callback": "slow")", R"("callback": "missing")"), kTest,
                  UIE_CallbackNotBound, {"variant.uir", "panel 1, control 12", "\"missing\""});
    expectFailure(variant(R"("callback": "watch")", R"("callback": "record")"), kWatched,
                  UIE_CallbackNotBound, {"panel 3", "\"record\""});
    // Read before it is parsed: a file of more than 1 MB is not a panel file.
    expectFailure(writeResource("huge.uir", std::string((1 << 20) + 1, ' ')), kTest,
                  UIE_ResourceFileMalformed, {"huge.uir", "larger than 1 MB"});
}

// Inside the main window a page that cannot be loaded leaves a line saying so.
TEST_F(Loading, APageThatCannotBeLoadedIsReportedInThePageArea) {
    ASSERT_EQ(CreateMainWindow("Test", ""), 0);
    const int shown = load(kTest);
    DisplayPanel(shown);
    EXPECT_EQ(ShellPlaceholderLine(), "");
    const std::string broken = variant(R"("callback": "slow")", R"("callback": "missing")");
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadPanel(0, broken.c_str(), kTest), UIE_CallbackNotBound);
    testing::internal::GetCapturedStderr();
    const std::string line = ShellPlaceholderLine();
    EXPECT_EQ(line.rfind("This page could not be opened (", 0), 0u) << line;
    EXPECT_NE(line.find("\"missing\" is not bound"), std::string::npos) << line;
    DestroyMainWindow();
}

TEST_F(Loading, AnUnboundCallbackFailsOnlyThePanelsThatNameIt) {
    const CallbackBinding onlyWatch[] = {{"watch", nullptr, watch}};
    BindCallbacks(onlyWatch);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadPanel(0, path.c_str(), kPlain), UIE_CallbackNotBound);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("\"record\""), std::string::npos);
    EXPECT_GT(LoadPanel(0, path.c_str(), kResident), 0);
    EXPECT_GT(LoadPanel(0, path.c_str(), kWatched), 0);
}

TEST_F(Loading, ABareNameIsFoundThroughTheEnvironmentOrTheInstalledPlaces) {
    qputenv("QUORVEL_UIR", path.c_str());
    const int panel = LoadPanel(0, "VASKInterface.uir", kResident);
    qunsetenv("QUORVEL_UIR");
    EXPECT_GT(panel, 0);
    EXPECT_EQ(ResolvedResourcePath("VASKInterface.uir"),
              QFileInfo(path.c_str()).absoluteFilePath().toStdString());

    const int real = LoadPanel(0, "VASKInterface.uir", 11);
    ASSERT_GT(real, 0);
    EXPECT_EQ(PanelWindow(real)->windowTitle(), "Write done");
    EXPECT_TRUE(QFile::exists(ResolvedResourcePath("VASKInterface.uir").c_str()));

    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadPanel(0, "NoSuchFile.uir", 7), UIE_ResourceFileMissing);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("NoSuchFile.uir"), std::string::npos);
}

TEST(ResourceLookup, OnlyAProgramInsideTheBuildTreeTakesTheSourceTreesFile) {
    const QString name = QStringLiteral("VASKInterface.uir");
    const QString source = QStringLiteral(QUORVEL_SOURCE_DIR "/ui/VASKInterface.uir");
    // A packaged build has no fallback at all: its programs find only the installed file.
    EXPECT_EQ(
        resourceFileCandidates(name, QStringLiteral(QUORVEL_BINARY_DIR "/tests")).contains(source),
        bool(QUORVEL_SOURCE_TREE_FALLBACK));

    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir(elsewhere.path()).mkpath(QStringLiteral("bin")));
    const QString copied = elsewhere.path(), installed = elsewhere.filePath(QStringLiteral("bin"));
    const QStringList besideCopy = resourceFileCandidates(name, copied);
    EXPECT_EQ(besideCopy.first(), QDir(copied).filePath(name));
    EXPECT_FALSE(besideCopy.contains(source));
    EXPECT_FALSE(
        besideCopy.contains(QDir(copied).filePath(QStringLiteral("../share/quorvel/") + name)));
    const QStringList inInstallation = resourceFileCandidates(name, installed);
    EXPECT_EQ(inInstallation.mid(0, 2),
              (QStringList{QDir(installed).filePath(name),
                           QDir(installed).filePath(QStringLiteral("../share/quorvel/") + name)}));
    EXPECT_FALSE(inInstallation.contains(source));
}

TEST_F(Loading, AFileChangedOnDiskIsReadAgain) {
    EXPECT_EQ(PanelWindow(load(kResident))->windowTitle(), "Resident");
    std::string text = kResourceText;
    text.replace(text.find("\"Resident\""), 10, "\"Resident panel\"");
    writeResource("panels.uir", text);
    EXPECT_EQ(PanelWindow(load(kResident))->windowTitle(), "Resident panel");
}

TEST_F(Loading, EveryPanelOfTheToolsResourceFileLoadsWithItsLabelsAsAccessibleNames) {
    bindEveryCallbackOf(kToolResource);
    QFile file(kToolResource.c_str());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray panels = QJsonDocument::fromJson(file.readAll()).object()["panels"].toArray();
    const std::string real = kToolResource;
    for (const auto& panelValue : panels) {
        const QJsonObject p = panelValue.toObject();
        const int handle = LoadPanel(0, real.c_str(), p["id"].toInt());
        ASSERT_GT(handle, 0) << "panel " << p["id"].toInt();
        EXPECT_EQ(PanelWindow(handle)->windowTitle(), p["title"].toString());
        for (const auto& controlValue : p["controls"].toArray()) {
            const QJsonObject c = controlValue.toObject();
            const QWidget* widget = ControlWidget(handle, c["id"].toInt());
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->accessibleName(), c["label"].toString());
        }
    }
}

class Values : public Panels {
  protected:
    void SetUp() override {
        Panels::SetUp();
        panel = load(kTest);
    }
    int panel = 0;
};

TEST_F(Values, EachControlReadsAndWritesInItsOwnType) {
    int i = 0;
    float f = 0;
    double d = 0;
    EXPECT_EQ(GetCtrlVal(panel, kCount, &i), 0);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(GetCtrlVal(panel, kLevel, &f), 0);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(GetCtrlVal(panel, kReading, &d), 0);
    EXPECT_EQ(d, 0.5);
    EXPECT_EQ(GetCtrlVal(panel, kEnabled, &i), 0);
    EXPECT_EQ(i, 1);
    EXPECT_EQ(GetCtrlVal(panel, kPort, &i), 0);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(GetCtrlVal(panel, kLength, &f), 0);
    EXPECT_EQ(f, 2.0f);
    EXPECT_EQ(GetCtrlVal(panel, kSecond, &d), 0);
    EXPECT_EQ(d, 1.5);

    EXPECT_EQ(SetCtrlVal(panel, kCount, 255), 0);
    EXPECT_EQ(SetCtrlVal(panel, kLevel, 3.14159f), 0);
    EXPECT_EQ(SetCtrlVal(panel, kReading, -1.0), 0);
    EXPECT_EQ(SetCtrlVal(panel, kEnabled, 0), 0);
    EXPECT_EQ(SetCtrlVal(panel, kPort, 4), 0);
    EXPECT_EQ(SetCtrlVal(panel, kLength, 0.1f), 0);
    EXPECT_EQ(SetCtrlVal(panel, kSecond, 20.5), 0);
    GetCtrlVal(panel, kCount, &i);
    EXPECT_EQ(i, 255);
    // Kept exactly as set, though shown to the control's precision.
    GetCtrlVal(panel, kLevel, &f);
    EXPECT_EQ(f, 3.14159f);
    EXPECT_EQ(static_cast<QDoubleSpinBox*>(ControlWidget(panel, kLevel))->text(), "3.1");
    GetCtrlVal(panel, kReading, &d);
    EXPECT_EQ(d, -1.0);
    GetCtrlVal(panel, kEnabled, &i);
    EXPECT_EQ(i, 0);
    GetCtrlVal(panel, kPort, &i);
    EXPECT_EQ(i, 4);
    GetCtrlVal(panel, kLength, &f);
    EXPECT_EQ(f, 0.1f);
    EXPECT_EQ(static_cast<QLineEdit*>(ControlWidget(panel, kSecond))->text(), "20.50");
    EXPECT_TRUE(log().empty()) << "a program write never reaches a callback";
}

TEST_F(Values, AValueOfTheWrongTypeIsRefusedAndNothingChanges) {
    int i = -5;
    float f = -5;
    double d = -5;
    EXPECT_EQ(GetCtrlVal(panel, kCount, &f), UIE_TypeMismatch);
    EXPECT_EQ(GetCtrlVal(panel, kCount, &d), UIE_TypeMismatch);
    EXPECT_EQ(GetCtrlVal(panel, kLevel, &d), UIE_TypeMismatch);
    EXPECT_EQ(GetCtrlVal(panel, kReading, &f), UIE_TypeMismatch);
    EXPECT_EQ(GetCtrlVal(panel, kLength, &i), UIE_TypeMismatch);
    EXPECT_EQ(GetCtrlVal(panel, kSecond, &f), UIE_TypeMismatch);
    EXPECT_EQ(GetCtrlVal(panel, kLog, &i), UIE_TypeMismatch);
    EXPECT_EQ(GetCtrlVal(panel, kGo, &i), UIE_TypeMismatch);
    EXPECT_EQ(i, -5);
    EXPECT_EQ(f, -5);
    EXPECT_EQ(d, -5);

    EXPECT_EQ(SetCtrlVal(panel, kCount, 9.0), UIE_TypeMismatch);
    EXPECT_EQ(SetCtrlVal(panel, kLevel, 9.0), UIE_TypeMismatch);
    EXPECT_EQ(SetCtrlVal(panel, kLevel, 9), UIE_TypeMismatch);
    EXPECT_EQ(SetCtrlVal(panel, kReading, 0.25f), UIE_TypeMismatch);
    EXPECT_EQ(SetCtrlVal(panel, kPort, 2.0f), UIE_TypeMismatch);
    EXPECT_EQ(SetCtrlVal(panel, kLength, 2), UIE_TypeMismatch);
    EXPECT_EQ(SetCtrlVal(panel, kTrace, 1.0), UIE_TypeMismatch);
    GetCtrlVal(panel, kCount, &i);
    GetCtrlVal(panel, kLevel, &f);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(f, 2.5f);
}

TEST_F(Values, AValueOutsideTheRangeIsRefusedNeverClamped) {
    EXPECT_EQ(SetCtrlVal(panel, kCount, 256), UIE_ValueOutOfRange);
    EXPECT_EQ(SetCtrlVal(panel, kCount, -1), UIE_ValueOutOfRange);
    EXPECT_EQ(SetCtrlVal(panel, kLevel, 100.5f), UIE_ValueOutOfRange);
    EXPECT_EQ(SetCtrlVal(panel, kLevel, std::numeric_limits<float>::quiet_NaN()),
              UIE_ValueOutOfRange);
    EXPECT_EQ(SetCtrlVal(panel, kReading, 1.001), UIE_ValueOutOfRange);
    EXPECT_EQ(SetCtrlVal(panel, kEnabled, 2), UIE_ValueOutOfRange);
    EXPECT_EQ(SetCtrlVal(panel, kPort, 3), UIE_ValueOutOfRange);
    EXPECT_EQ(SetCtrlVal(panel, kLength, 0.3f), UIE_ValueOutOfRange);
    int i = 0;
    float f = 0;
    double d = 0;
    GetCtrlVal(panel, kCount, &i);
    EXPECT_EQ(i, 7);
    EXPECT_EQ(static_cast<QSpinBox*>(ControlWidget(panel, kCount))->value(), 7);
    GetCtrlVal(panel, kLevel, &f);
    EXPECT_EQ(f, 2.5f);
    GetCtrlVal(panel, kReading, &d);
    EXPECT_EQ(d, 0.5);
    GetCtrlVal(panel, kPort, &i);
    EXPECT_EQ(i, 2);
    GetCtrlVal(panel, kLength, &f);
    EXPECT_EQ(f, 2.0f);
}

TEST_F(Values, RingItemsCanBeRelabelledAndKeepTheirValues) {
    EXPECT_EQ(SetRingItemLabel(panel, kPort, 2, "COM4 (/dev/ttyUSB0)"), 0);
    EXPECT_EQ(SetRingItemLabel(panel, kPort, 3, "none"), UIE_ValueOutOfRange);
    EXPECT_EQ(SetRingItemLabel(panel, kCount, 0, "x"), UIE_TypeMismatch);
    ASSERT_EQ(SetCtrlVal(panel, kPort, 4), 0);
    EXPECT_EQ(static_cast<QComboBox*>(ControlWidget(panel, kPort))->currentText(),
              "COM4 (/dev/ttyUSB0)");
}

}  // namespace
}  // namespace panels_test
