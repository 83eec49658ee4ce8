// What the operator sees: text box lines, the strip chart, immediate painting, what a
// screen reader reads, and the pop-ups.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>
#include <cmath>

#include "tests/harness/operator.h"
#include "tests/harness/popups.h"
#include "tests/toolkit_panels_fixture.h"
#include "toolkit/panels/testing.h"

namespace panels_test {
namespace {

using Lines = std::vector<std::string>;

class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

class Display : public Panels {
  protected:
    void SetUp() override {
        Panels::SetUp();
        panel = show();
    }
    int panel = 0;
};

TEST_F(Display, TextBoxLinesAreReplacedAndAppendedWholeLines) {
    EXPECT_EQ(textLines(panel, kLog), (Lines{"first", "second"}));
    EXPECT_EQ(InsertTextBoxLine(panel, kLog, -1, "third\n"), 0);
    EXPECT_EQ(InsertTextBoxLine(panel, kLog, -1, "fourth"), 0);
    EXPECT_EQ(textLines(panel, kLog), (Lines{"first", "second", "third", "fourth"}));
    EXPECT_EQ(InsertTextBoxLine(panel, kLog, 0, "zeroth"), 0);
    EXPECT_EQ(textLines(panel, kLog)[0], "zeroth");

    EXPECT_EQ(ResetTextBox(panel, kLog, ""), 0);
    EXPECT_EQ(textLines(panel, kLog), Lines{});
    EXPECT_EQ(InsertTextBoxLine(panel, kLog, -1, "    42\n"), 0);
    EXPECT_EQ(textLines(panel, kLog), (Lines{"    42"}));
    EXPECT_EQ(ResetTextBox(panel, kLog, ""), 0);
    EXPECT_EQ(InsertTextBoxLine(panel, kLog, -1, ""), 0);  // an empty reply still makes its line
    EXPECT_EQ(InsertTextBoxLine(panel, kLog, -1, "next"), 0);
    EXPECT_EQ(textLines(panel, kLog), (Lines{"", "next"}));
    EXPECT_EQ(ResetTextBox(panel, kLog, "a\nb"), 0);
    EXPECT_EQ(InsertTextBoxLine(panel, kLog, -1, ""), 0);
    EXPECT_EQ(textLines(panel, kLog), (Lines{"a", "b", ""}));

    EXPECT_EQ(ResetTextBox(panel, kCount, "x"), UIE_TypeMismatch);
    EXPECT_EQ(InsertTextBoxLine(panel, kGo, -1, "x"), UIE_TypeMismatch);
}

TEST_F(Display, ChangesArePaintedBeforeTheCallReturns) {
    auto* box = static_cast<QPlainTextEdit*>(ControlWidget(panel, kLog));
    PaintCounter text(box->viewport()), count(ControlWidget(panel, kCount)),
        window(PanelWindow(panel));
    InsertTextBoxLine(panel, kLog, -1, "more");
    EXPECT_GT(text.paints, 0);
    SetCtrlVal(panel, kCount, 9);
    EXPECT_GT(count.paints, 0);
    SetPanelAttribute(panel, ATTR_DIMMED, 1);
    EXPECT_GT(window.paints, 0);

    const int other = load(kResident);
    PaintCounter shown(PanelWindow(other));
    DisplayPanel(other);
    EXPECT_GT(shown.paints, 0);
    EXPECT_TRUE(IsPanelVisible(other));
    EXPECT_EQ(HidePanel(other), 0);
    EXPECT_FALSE(IsPanelVisible(other));
}

// Processes events for at least `ms` of real time.
void settle(int ms) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST_F(Display, ATextBoxChangedInABurstPaintsOncePerFrameAndAlwaysReadsTheNewestText) {
    auto* box = static_cast<QPlainTextEdit*>(ControlWidget(panel, kLog));
    PaintCounter paints(box->viewport());
    QElapsedTimer burst;
    burst.start();
    for (int i = 0; i < 500; ++i) {
        const std::string text = "record " + std::to_string(i);
        ASSERT_EQ(ResetTextBox(panel, kLog, text.c_str()), 0);
        // Whatever waits for the frame's end, a read sees the newest text.
        ASSERT_EQ(textLines(panel, kLog), Lines{text});
    }
    // The first change is painted at once; after that at most one paint a frame.
    EXPECT_GE(paints.paints, 1);
    EXPECT_LE(paints.paints, burst.elapsed() / 16 + 2);

    ResetTextBox(panel, kLog, "last\n");
    settle(600);  // the frame's end paints the newest text, and a frame passes
    EXPECT_EQ(box->toPlainText(), "last");

    // A lone change is painted before the call returns; the same text again is not.
    int before = paints.paints;
    EXPECT_EQ(ResetTextBox(panel, kLog, "lone"), 0);
    EXPECT_GT(paints.paints, before);
    EXPECT_EQ(box->toPlainText(), "lone");
    settle(60);
    before = paints.paints;
    EXPECT_EQ(ResetTextBox(panel, kLog, "lone"), 0);
    EXPECT_EQ(paints.paints, before);

    // An insert after a pending replacement lands after the replaced text.
    ResetTextBox(panel, kLog, "a");
    ResetTextBox(panel, kLog, "b\nc");
    EXPECT_EQ(InsertTextBoxLine(panel, kLog, -1, "d"), 0);
    EXPECT_EQ(textLines(panel, kLog), (Lines{"b", "c", "d"}));
    ResetTextBox(panel, kLog, "b\nc");  // the same text as the last reset, but not as shown
    EXPECT_EQ(textLines(panel, kLog), (Lines{"b", "c"}));
}

TEST_F(Display, TheStripChartScrollsItsPointsWithinTheRangeAsSet) {
    double ymin = -1, ymax = -1;
    StripChartYRange(panel, kTrace, ymin, ymax);
    EXPECT_EQ(ymin, 0.0);
    EXPECT_EQ(ymax, 10.0);
    EXPECT_EQ(SetAxisRange(panel, kTrace, VAL_NO_CHANGE, 0.0, 0.0, VAL_MANUAL, 0.0, 25.5), 0);
    for (double v : {1.0, 2.0, 3.0, 40.0, 5.0, 6.0})
        EXPECT_EQ(PlotStripChartPoint(panel, kTrace, v), 0);
    EXPECT_EQ(StripChartPoints(panel, kTrace), (std::vector<double>{3.0, 40.0, 5.0, 6.0}));
    StripChartYRange(panel, kTrace, ymin, ymax);
    EXPECT_EQ(ymin, 0.0);
    EXPECT_EQ(ymax, 25.5);

    // A range of zero height is taken (a gauge length of 0): every point sits on it.
    EXPECT_EQ(SetAxisRange(panel, kTrace, VAL_NO_CHANGE, 0.0, 0.0, VAL_MANUAL, 0.0, 0.0), 0);
    EXPECT_EQ(SetAxisRange(panel, kTrace, VAL_NO_CHANGE, 0.0, 0.0, VAL_MANUAL, 5.0, 1.0),
              UIE_ValueOutOfRange);
    EXPECT_EQ(SetAxisRange(panel, kTrace, 7, 0.0, 0.0, VAL_MANUAL, 0.0, 1.0), UIE_InvalidAttribute);
    StripChartYRange(panel, kTrace, ymin, ymax);
    EXPECT_EQ(ymax, 0.0);
    PanelWindow(panel)->grab();  // paints without dividing by the empty range

    EXPECT_EQ(PlotStripChartPoint(panel, kLog, 1.0), UIE_TypeMismatch);
    EXPECT_EQ(SetAxisRange(panel, kCount, VAL_NO_CHANGE, 0, 0, VAL_MANUAL, 0, 1), UIE_TypeMismatch);
}

TEST_F(Display, TheStripChartRepaintsOncePerFrameHoweverFastPointsArrive) {
    QWidget* chart = ControlWidget(panel, kTrace);
    PaintCounter paints(chart);
    for (int i = 0; i < 1000; ++i) PlotStripChartPoint(panel, kTrace, i % 10);
    EXPECT_EQ(paints.paints, 0);
    QElapsedTimer waited;
    waited.start();
    while (paints.paints == 0 && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(paints.paints, 1);
}

TEST_F(Display, AScreenReaderReadsLabelsValuesAndTheChartsLatestValue) {
    // Linux screen readers take a control's name from the caption that labels it.
    auto announced = [this](int id) {
        QAccessibleInterface* control =
            QAccessible::queryAccessibleInterface(ControlWidget(panel, id));
        const auto labels = control->relations(QAccessible::Label);
        return labels.isEmpty() ? control->text(QAccessible::Name)
                                : labels[0].first->text(QAccessible::Name);
    };
    for (int id : {kCount, kLevel, kReading, kEnabled, kPort, kLength, kLog, kSecond, kTrace, kGo})
        EXPECT_EQ(announced(id), QString::fromStdString(controlLabel(panel, id))) << id;
    EXPECT_EQ(controlLabel(panel, kCount), "Count");

    SetCtrlVal(panel, kCount, 42);
    QAccessibleInterface* count =
        QAccessible::queryAccessibleInterface(ControlWidget(panel, kCount));
    ASSERT_NE(count->valueInterface(), nullptr);
    EXPECT_EQ(count->valueInterface()->currentValue().toInt(), 42);
    SetCtrlVal(panel, kSecond, 20.5);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(ControlWidget(panel, kSecond))
                  ->text(QAccessible::Value),
              "20.50");
    ResetTextBox(panel, kLog, "hello");
    QAccessibleInterface* log = QAccessible::queryAccessibleInterface(ControlWidget(panel, kLog));
    ASSERT_NE(log->textInterface(), nullptr);
    EXPECT_EQ(log->textInterface()->text(0, log->textInterface()->characterCount()), "hello");

    QAccessibleInterface* chart =
        QAccessible::queryAccessibleInterface(ControlWidget(panel, kTrace));
    EXPECT_EQ(chart->text(QAccessible::Name), "Trace");
    PlotStripChartPoint(panel, kTrace, 7.25);
    EXPECT_TRUE(chart->text(QAccessible::Description).contains("7.25"))
        << chart->text(QAccessible::Description).toStdString();
}

TEST_F(Display, PopupsGoToTheInstalledAnswerer) {
    RecordingPopups popups;
    SetPopupAnswerer(&popups);
    EXPECT_EQ(MessagePopup("Help for File", "Press this button"), 0);
    ASSERT_EQ(popups.messages.size(), 1u);
    EXPECT_EQ(popups.messages[0].title, "Help for File");
    EXPECT_EQ(popups.messages[0].text, "Press this button");

    char path[512] = "stale";
    EXPECT_EQ(
        FileSelectPopup("", "*.*", "*.*", "Log File for output", VAL_SAVE_BUTTON, 0, 0, 0, 1, path),
        VAL_NO_FILE_SELECTED);
    EXPECT_STREQ(path, "");
    popups.answerFileSelect("/tmp/run.log", VAL_NEW_FILE_SELECTED);
    EXPECT_EQ(
        FileSelectPopup("", "*.*", "*.*", "Log File for output", VAL_SAVE_BUTTON, 0, 0, 0, 1, path),
        VAL_NEW_FILE_SELECTED);
    EXPECT_STREQ(path, "/tmp/run.log");
    ASSERT_EQ(popups.fileRequests.size(), 2u);
    EXPECT_EQ(popups.fileRequests[1].title, "Log File for output");
    EXPECT_FALSE(popups.fileRequests[1].allowCancel);

    popups.answerFileSelect(std::string(512, 'x'), VAL_NEW_FILE_SELECTED);
    EXPECT_EQ(FileSelectPopup("", "*.*", "*.*", "t", VAL_SAVE_BUTTON, 0, 0, 0, 1, path),
              UIE_FileDialogFailed);
    EXPECT_STREQ(path, "");
}

// With no answerer the real dialogs open; the timer stands in for the operator.
TEST_F(Display, RealDialogsAreModalAndACancelSelectsNoFile) {
    QString shownTitle;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<QMessageBox*>(modal), nullptr);
        shownTitle = modal->windowTitle();
        static_cast<QMessageBox*>(modal)->accept();
    });
    EXPECT_EQ(MessagePopup("Configuration Error", "enable RS232 data"), 0);
    EXPECT_EQ(shownTitle, "Configuration Error");

    char path[512] = "stale";
    QTimer::singleShot(0,
                       [] { static_cast<QDialog*>(QApplication::activeModalWidget())->reject(); });
    EXPECT_EQ(
        FileSelectPopup("", "*.*", "*.*", "Log File for output", VAL_SAVE_BUTTON, 0, 0, 0, 1, path),
        VAL_NO_FILE_SELECTED);
    EXPECT_STREQ(path, "");

    const QString chosen = dir.filePath("new.log");
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(chosen);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(FileSelectPopup(dir.path().toUtf8().constData(), "*.*", "*.*", "Log File for output",
                              VAL_SAVE_BUTTON, 0, 0, 0, 1, path),
              VAL_NEW_FILE_SELECTED);
    EXPECT_EQ(QString::fromLocal8Bit(path), QDir::toNativeSeparators(chosen));
}

// QUORVEL_PANEL_SHOTS=<dir> saves a picture of every panel of the tool's resource file.
TEST_F(Display, ScreenshotsOfTheToolsPanelsOnRequest) {
    const QString target = qEnvironmentVariable("QUORVEL_PANEL_SHOTS");
    if (target.isEmpty())
        GTEST_SKIP() << "set QUORVEL_PANEL_SHOTS to a directory to save the pictures";
    bindEveryCallbackOf(kToolResource);
    QDir().mkpath(target);
    for (int id : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
        const int handle = LoadPanel(0, kToolResource.c_str(), id);
        ASSERT_GT(handle, 0) << id;
        if (id == 5)
            for (int i = 0; i < 600; ++i)
                PlotStripChartPoint(handle, 9, 5.0 + 4.0 * std::sin(i / 40.0));
        DisplayPanel(handle);
        if (id == 7)  // a relabelled port widens the panel instead of being cut
            SetRingItemLabel(handle, 2, 0, "COM1 (/dev/ttyUSB0)");
        QCoreApplication::processEvents();
        const QString file =
            QDir(target).filePath(QStringLiteral("panel-%1.png").arg(id, 2, 10, QLatin1Char('0')));
        EXPECT_TRUE(PanelWindow(handle)->grab().save(file)) << file.toStdString();
    }
}

}  // namespace
}  // namespace panels_test
