#include "toolkit/panels/shell_status_bar.h"

#include <QLabel>
#include <QProgressBar>

namespace {

QLabel* fieldLabel(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setAccessibleName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Opaque, so that a field that changes while a live run goes repaints alone.
    label->setAutoFillBackground(true);
    label->hide();
    return label;
}

}  // namespace

ShellStatusBar::ShellStatusBar(QWidget* parent)
    : QStatusBar(parent),
      busy_(fieldLabel(this, tr("Busy"))),
      elapsed_(fieldLabel(this, tr("Time taken"))),
      progress_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("statusBar"));
    setAccessibleName(tr("Status"));
    setSizeGripEnabled(true);
    addWidget(busy_);
    addWidget(progress_);
    addWidget(elapsed_);
    // A busy indicator: the exchanges pause for fixed times the bar cannot know ahead.
    progress_->setRange(0, 0);
    progress_->setMaximumWidth(120);
    progress_->setAccessibleName(tr("Busy"));
    progress_->hide();
    const std::pair<StatusField, QString> names[] = {{StatusField::Port, tr("Port")},
                                                     {StatusField::Instrument, tr("Instrument")},
                                                     {StatusField::LogFile, tr("Log file")},
                                                     {StatusField::Records, tr("Records")}};
    for (const auto& [field, name] : names) {
        fields_[field] = fieldLabel(this, name);
        addPermanentWidget(fields_[field]);
    }
    ticker_.setInterval(500);
    connect(&ticker_, &QTimer::timeout, this, &ShellStatusBar::tick);
}

void ShellStatusBar::setField(StatusField field, const QString& text) {
    QLabel* label = fields_.at(field);
    label->setText(text);
    label->setVisible(!text.isEmpty());
}

QString ShellStatusBar::field(StatusField field) const {
    return fields_.at(field)->text();
}

void ShellStatusBar::setBusy(bool running, const QString& action) {
    const bool show = running && !action.isEmpty();
    busy_->setText(show ? action : QString());
    busy_->setVisible(show);
    progress_->setVisible(show);
    elapsed_->clear();
    elapsed_->setVisible(false);
    if (show) {
        since_.start();
        ticker_.start();
    } else {
        ticker_.stop();
    }
    repaint();
}

QString ShellStatusBar::busyText() const {
    return busy_->text();
}

// Past its first seconds an action shows its time taken instead of the moving bar, which
// repaints many times a second: a live run lasts hours and must not pay for it.
void ShellStatusBar::tick() {
    constexpr qint64 kAnimatedSeconds = 2;
    const qint64 seconds = since_.elapsed() / 1000;
    elapsed_->setText(tr("%1 s").arg(seconds));
    elapsed_->setVisible(seconds > 0);
    if (seconds >= kAnimatedSeconds)
        progress_->hide();
}
