#include "toolkit/panels/strip_chart_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

struct WindowChoice {
    const char* label;
    double seconds;  // 0: the whole run
};
constexpr WindowChoice kWindows[] = {
    {"10 s", 10}, {"1 min", 60}, {"10 min", 600}, {"Whole run", 0}};
constexpr int kDefaultWindow = 1;

}  // namespace

StripChartControls::StripChartControls(QWidget* parent) : QWidget(parent) {
    setAccessibleName(tr("Chart controls"));
    windowChoice_ = new QComboBox(this);
    for (const WindowChoice& w : kWindows) windowChoice_->addItem(tr(w.label), w.seconds);
    windowChoice_->setCurrentIndex(kDefaultWindow);
    windowChoice_->setAccessibleName(tr("Time shown"));
    timeChoice_ = new QComboBox(this);
    timeChoice_->addItem(tr("Seconds since start"));
    timeChoice_->addItem(tr("Clock time"));
    timeChoice_->setAccessibleName(tr("Time axis"));
    pause_ = new QPushButton(tr("Pause"), this);
    pause_->setAccessibleName(tr("Pause or resume the chart"));
    resetZoom_ = new QPushButton(tr("Reset zoom"), this);
    resetZoom_->setEnabled(false);
    second_ = new QCheckBox(tr("Show second value"), this);
    second_->setChecked(true);
    second_->hide();
    saveImage_ = new QPushButton(tr("Save chart image…"), this);
    saveImage_->setToolTip(tr("Saves the chart as shown, as a PNG image or a PDF document"));
    for (QWidget* w : std::initializer_list<QWidget*>{windowChoice_, timeChoice_, pause_,
                                                      resetZoom_, second_, saveImage_})
        w->setFocusPolicy(Qt::StrongFocus);
    // Focus given to the row goes to its first control; the row is no stop of its own.
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(windowChoice_);

    auto* windowLabel = new QLabel(tr("&Show:"), this);
    windowLabel->setBuddy(windowChoice_);
    auto* timeLabel = new QLabel(tr("&Time axis:"), this);
    timeLabel->setBuddy(timeChoice_);
    auto* bar = new QHBoxLayout(this);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(windowLabel);
    bar->addWidget(windowChoice_);
    bar->addWidget(timeLabel);
    bar->addWidget(timeChoice_);
    bar->addWidget(pause_);
    bar->addWidget(resetZoom_);
    bar->addWidget(second_);
    bar->addStretch();
    bar->addWidget(saveImage_);

    connect(windowChoice_, &QComboBox::currentIndexChanged, this,
            [this](int i) { emit windowChosen(windowChoice_->itemData(i).toDouble()); });
    connect(timeChoice_, &QComboBox::currentIndexChanged, this,
            [this](int i) { emit clockTimeChosen(i == 1); });
    connect(pause_, &QPushButton::clicked, this, &StripChartControls::pauseClicked);
    connect(resetZoom_, &QPushButton::clicked, this, &StripChartControls::resetZoomClicked);
    connect(second_, &QCheckBox::toggled, this, &StripChartControls::secondShownChosen);
    connect(saveImage_, &QPushButton::clicked, this, &StripChartControls::saveImageClicked);
}

double StripChartControls::defaultWindowSeconds() {
    return kWindows[kDefaultWindow].seconds;
}

void StripChartControls::showWindow(double seconds) {
    for (int i = 0; i < windowChoice_->count(); ++i)
        if (windowChoice_->itemData(i).toDouble() == seconds)
            windowChoice_->setCurrentIndex(i);
}

void StripChartControls::showPaused(bool paused) {
    pause_->setText(paused ? tr("Resume") : tr("Pause"));
}

void StripChartControls::showZoomed(bool zoomed) {
    resetZoom_->setEnabled(zoomed);
}

void StripChartControls::showSecondAvailable() {
    if (second_->isHidden())
        second_->show();
}

void StripChartControls::showSecondShown(bool shown) {
    if (second_->isChecked() != shown)
        second_->setChecked(shown);
}
