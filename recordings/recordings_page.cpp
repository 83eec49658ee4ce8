#include "recordings/recordings_page.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

#include "feedback/messages.h"
#include "recording/recording_reader.h"
#include "recording/recording_summary.h"
#include "recording/span_csv.h"
#include "recordings/recording_series.h"
#include "toolkit/panels/chart_image.h"
#include "toolkit/panels/recording_chart.h"
#include "toolkit/panels/userint.h"

namespace {

enum PageAction { kOpenAction = 1, kSaveSpanAction = 2, kSaveImageAction = 3 };
constexpr int kPathSize = 512;  // FileSelectPopup's buffer
// A slice reads this much, a few hundredths of a second of work: the window answers
// between slices, and a day's file still reads in a few seconds.
constexpr size_t kSliceBytes = size_t{4} << 20;
constexpr int kProgressSteps = 1000;
constexpr double kLongestGauge = 25.5;  // the instrument keeps the length in tenths, a byte

std::map<int, RecordingsPage*>& pages() {
    static std::map<int, RecordingsPage*> open;
    return open;
}
int nextPageId = 1;
RecordingsPage* lastPage = nullptr;

int pageActionCallback(int panel, int control, int event, void*, int, int) {
    const auto it = pages().find(panel);
    if (event != EVENT_COMMIT || it == pages().end())
        return 0;
    if (control == kOpenAction)
        it->second->chooseAndOpen();
    else if (control == kSaveSpanAction)
        it->second->saveSpan();
    else if (control == kSaveImageAction)
        it->second->saveImage();
    return 0;
}

void say(const std::string& line) {
    clearMessages();
    addMessageText(line.c_str());
    showMessages();
}

QPushButton* button(const QString& label, QWidget* parent) {
    auto* b = new QPushButton(label, parent);
    b->setAccessibleName(label);
    return b;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

RecordingsPage::RecordingsPage(QWidget* parent) : QWidget(parent), id_(nextPageId++) {
    pages()[id_] = this;
    lastPage = this;
    setWindowTitle(tr("Recordings"));
    setAccessibleName(tr("Recordings"));

    openButton_ = button(tr("Open recording…"), this);
    openButton_->setToolTip(tr("Opens a CSV or a raw log that this tool wrote during a live run"));
    file_ = new QLabel(tr("No recording open"), this);
    file_->setAccessibleName(tr("Recording file"));
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    file_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    length_ = new QDoubleSpinBox(this);
    length_->setRange(0.1, kLongestGauge);
    length_->setSingleStep(0.1);
    length_->setDecimals(1);
    length_->setValue(kDefaultGaugeLength);
    length_->setSuffix(QStringLiteral(" ") + QString::fromLatin1(kLevelUnit));
    length_->setAccessibleName(tr("Gauge length"));
    length_->setEnabled(false);
    timeAxis_ = new QComboBox(this);
    timeAxis_->addItem(tr("Seconds since start"));
    timeAxis_->addItem(tr("Clock time"));
    timeAxis_->setAccessibleName(tr("Time axis"));
    timeAxis_->setEnabled(false);
    resetZoom_ = button(tr("Reset zoom"), this);
    saveImage_ = button(tr("Save chart image…"), this);
    saveImage_->setToolTip(tr("Saves the chart as shown, as a PNG image or a PDF document"));
    saveSpan_ = button(tr("Save span as CSV…"), this);
    saveSpan_->setToolTip(tr("Saves the records in view as a CSV of this tool's columns"));
    for (QWidget* w : {static_cast<QWidget*>(resetZoom_), static_cast<QWidget*>(saveImage_),
                       static_cast<QWidget*>(saveSpan_)})
        w->setEnabled(false);
    notes_ = new QLabel(this);
    notes_->setAccessibleName(tr("Recording notes"));
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    notes_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, kProgressSteps);
    progress_->setAccessibleName(tr("Reading the recording"));
    cancel_ = button(tr("Cancel"), this);
    cancel_->setAccessibleName(tr("Cancel reading"));
    chart_ = new RecordingChart(tr("Level"), this);
    chart_->setValueTitle(
        QStringLiteral("%1 (%2)").arg(tr("Level"), QString::fromLatin1(kLevelUnit)));

    auto* top = new QHBoxLayout;
    top->addWidget(openButton_);
    top->addWidget(file_, 1);
    auto* reading = new QHBoxLayout;
    reading->addWidget(progress_, 1);
    reading->addWidget(cancel_);
    auto* controls = new QHBoxLayout;
    controls->addWidget(buddyLabel(tr("&Gauge length:"), length_, this));
    controls->addWidget(length_);
    controls->addWidget(buddyLabel(tr("&Time axis:"), timeAxis_, this));
    controls->addWidget(timeAxis_);
    controls->addWidget(resetZoom_);
    controls->addStretch(1);
    controls->addWidget(saveImage_);
    controls->addWidget(saveSpan_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(reading);
    layout->addLayout(controls);
    layout->addWidget(notes_);
    layout->addWidget(chart_, 1);
    progress_->hide();
    cancel_->hide();
    notes_->hide();

    auto post = [this](PageAction action) {
        return [this, action] { PostCommitEvent(pageActionCallback, id_, action); };
    };
    connect(openButton_, &QPushButton::clicked, this, post(kOpenAction));
    connect(saveSpan_, &QPushButton::clicked, this, post(kSaveSpanAction));
    connect(saveImage_, &QPushButton::clicked, this, post(kSaveImageAction));
    connect(cancel_, &QPushButton::clicked, this, &RecordingsPage::cancelReading);
    connect(resetZoom_, &QPushButton::clicked, chart_, &RecordingChart::resetZoom);
    connect(chart_, &RecordingChart::zoomedChanged, resetZoom_, &QPushButton::setEnabled);
    connect(chart_, &RecordingChart::viewChanged, this, &RecordingsPage::showSummary);
    connect(length_, &QDoubleSpinBox::valueChanged, this, &RecordingsPage::setGaugeLength);
    connect(timeAxis_, &QComboBox::currentIndexChanged, this,
            [this](int i) { setClockTime(i == 1); });
    connect(&slices_, &QTimer::timeout, this, &RecordingsPage::readSlice);
    showSummary();
}

RecordingsPage::~RecordingsPage() {
    pages().erase(id_);
    if (lastPage == this)
        lastPage = nullptr;
    chart_->setSeries(nullptr, 0, 1);
}

bool RecordingsPage::chooseAndOpen() {
    char chosen[kPathSize] = {};
    const int choice =
        FileSelectPopup("", "*.*", "*.*", "Open recording", VAL_LOAD_BUTTON, 0, 0, 1, 0, chosen);
    if (choice < 0)
        showMessages();
    if (choice <= 0)
        return false;
    open(chosen);
    return true;
}

void RecordingsPage::open(const std::string& path) {
    cancelReading();
    readingPath_ = path;
    reader_ = std::make_unique<RecordingReader>(path);
    progress_->setValue(0);
    progress_->setFormat(
        tr("Reading %1: %p%").arg(QFileInfo(QString::fromStdString(path)).fileName()));
    progress_->show();
    cancel_->show();
    slices_.start(0);
}

void RecordingsPage::readSlice() {
    if (!reader_)
        return;
    const bool more = reader_->readMore(kSliceBytes);
    progress_->setValue(static_cast<int>(reader_->fraction() * kProgressSteps));
    if (!more)
        endReading();
}

void RecordingsPage::finishReading() {
    while (reader_ && reader_->readMore(kSliceBytes)) {
    }
    if (reader_)
        endReading();
}

double RecordingsPage::readFraction() const {
    return reader_ ? reader_->fraction() : 1.0;
}

void RecordingsPage::cancelReading() {
    slices_.stop();
    reader_.reset();
    progress_->hide();
    cancel_->hide();
}

void RecordingsPage::endReading() {
    slices_.stop();
    const std::unique_ptr<RecordingReader> reader = std::move(reader_);
    progress_->hide();
    cancel_->hide();
    if (reader->refused()) {
        say("recording not opened: " + recordingProblem(readingPath_, reader->refusal()));
        return;
    }
    showRecording(reader->take());
}

void RecordingsPage::showRecording(std::unique_ptr<Recording> recording) {
    chart_->setSeries(nullptr, 0, 1);
    series_.reset();
    recording_ = std::move(recording);
    series_ = std::make_unique<RecordingSeries>(*recording_);
    const Recording& r = *recording_;
    file_->setText(QStringLiteral("%1 (%2)").arg(QString::fromStdString(r.path),
                                                 QString::fromStdString(recordingKindText(r))));
    std::string notes;
    for (const std::string& note : r.notes) notes += (notes.empty() ? "" : "\n") + note;
    notes_->setText(QString::fromStdString(notes));
    notes_->setVisible(!notes.empty());
    {
        const QSignalBlocker quiet(length_);
        length_->setValue(r.gaugeLength);
    }
    const bool raw = r.kind == RecordingKind::RawLog;
    length_->setEnabled(raw);
    length_->setToolTip(raw ? tr("The gauge length that makes the counts a level")
                            : tr("The length the file's levels were written with"));
    {
        const QSignalBlocker quiet(timeAxis_);
        timeAxis_->setCurrentIndex(0);
    }
    timeAxis_->setEnabled(!r.numbered);
    chart_->setTimeAxis(
        r.numbered ? RecordingChart::TimeAxis::Numbers : RecordingChart::TimeAxis::SinceStart,
        r.startWallTime);
    saveImage_->setEnabled(true);
    saveSpan_->setEnabled(true);
    chart_->setSeries(series_.get(), 0, r.gaugeLength);
}

void RecordingsPage::showSummary() {
    if (!recording_) {
        chart_->setSummary(tr("No recording open"));
        return;
    }
    const ChartView& v = chart_->view();
    const TimeShown shown =
        timeAxis_->currentIndex() == 1 ? TimeShown::Clock : TimeShown::SinceStart;
    chart_->setSummary(QString::fromStdString(
        summaryLine(*recording_, summarize(*recording_, v.t0, v.t1), shown)));
}

void RecordingsPage::setGaugeLength(double metres) {
    if (!recording_ || recording_->kind != RecordingKind::RawLog)
        return;
    recording_->gaugeLength = metres;
    recording_->lengthSource = GaugeLengthSource::Given;
    if (length_->value() != metres) {
        const QSignalBlocker quiet(length_);
        length_->setValue(metres);
    }
    chart_->setValueRange(0, metres);
}

void RecordingsPage::setClockTime(bool clock) {
    if (!recording_ || recording_->numbered)
        return;
    if (timeAxis_->currentIndex() != (clock ? 1 : 0)) {
        const QSignalBlocker quiet(timeAxis_);
        timeAxis_->setCurrentIndex(clock ? 1 : 0);
    }
    chart_->setTimeAxis(
        clock ? RecordingChart::TimeAxis::Clock : RecordingChart::TimeAxis::SinceStart,
        recording_->startWallTime);
    showSummary();
}

std::string RecordingsPage::proposedName(const char* suffix) const {
    const QString base =
        recording_ ? QFileInfo(QString::fromStdString(recording_->path)).completeBaseName()
                   : tr("Recording");
    return base.toStdString() + suffix;
}

bool RecordingsPage::saveSpan() {
    if (!recording_)
        return false;
    char chosen[kPathSize] = {};
    const int choice = FileSelectPopup("", proposedName(" span.csv").c_str(), "*.csv",
                                       "Save span as CSV", VAL_SAVE_BUTTON, 0, 1, 1, 1, chosen);
    if (choice < 0)
        showMessages();
    if (choice <= 0)
        return false;
    const ChartView& v = chart_->view();
    const size_t first = recording_->firstAtOrAfter(v.t0);
    const size_t end = std::max(first, recording_->firstAfter(v.t1));
    if (const std::string problem = saveSpanCsv(*recording_, first, end, chosen);
        !problem.empty()) {
        say("span not saved: " + problem);
        return false;
    }
    say("span of " + recordsText(end - first) + " saved to " + chosen);
    return true;
}

bool RecordingsPage::saveImage() {
    const QString line = saveChartImage(
        this, chart_->plotSize(), QString::fromStdString(proposedName("")),
        QString::fromStdString(proposedName("")),
        [this](QPainter& p, const QRect& area) { chart_->paintPlot(p, area, false); });
    if (line.isEmpty())
        return false;
    say(line.toStdString());
    return line.startsWith(QLatin1String("chart image saved"));
}

QString RecordingsPage::fileText() const {
    return file_->text();
}

QString RecordingsPage::notes() const {
    return notes_->text();
}

QWidget* createRecordingsPage(QWidget* parent) {
    return new RecordingsPage(parent);
}

RecordingsPage* recordingsPage() {
    return lastPage;
}
