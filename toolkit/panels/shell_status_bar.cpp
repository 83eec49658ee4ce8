#include "toolkit/panels/shell_status_bar.h"

#include <QLabel>
#include <QProgressBar>

namespace {

// Steady fields change several times a second during a live run (the records, the time
// taken): nobody copies them, and a selectable label lays its text out as a document.
enum class FieldKind { Selectable, Steady };

QLabel* fieldLabel(QWidget* parent, const QString& name, FieldKind kind) {
    auto* label = new QLabel(parent);
    label->setAccessibleName(name);
    if (kind == FieldKind::Selectable)
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Opaque, so that a field that changes while a live run goes repaints alone.
    label->setAutoFillBackground(true);
    label->hide();
    return label;
}

// A steady field must not lay the window out at every change: its size is fixed and only
// grows when a text needs more room. A widget of fixed size tells no layout of its changes.
void setSteadyText(QLabel* label, const QString& text) {
    label->setText(text);
    const bool fixed = label->minimumSize() == label->maximumSize();
    if (!fixed || label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width())
        label->setFixedSize(label->sizeHint());
}

}  // namespace

ShellStatusBar::ShellStatusBar(QWidget* parent)
    : QStatusBar(parent),
      busy_(fieldLabel(this, tr("Busy"), FieldKind::Selectable)),
      elapsed_(fieldLabel(this, tr("Time taken"), FieldKind::Steady)),
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
        const FieldKind kind =
            field == StatusField::Records ? FieldKind::Steady : FieldKind::Selectable;
        fields_[field] = fieldLabel(this, name, kind);
        addPermanentWidget(fields_[field]);
    }
    ticker_.setInterval(500);
    connect(&ticker_, &QTimer::timeout, this, &ShellStatusBar::tick);
}

void ShellStatusBar::setField(StatusField field, const QString& text) {
    QLabel* label = fields_.at(field);
    if (field == StatusField::Records)
        setSteadyText(label, text);
    else
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

void ShellStatusBar::stopAnimation() {
    progress_->hide();
}

// Past its first seconds an action shows its time taken instead of the moving bar, which
// repaints many times a second: a live run lasts hours and must not pay for it.
void ShellStatusBar::tick() {
    constexpr qint64 kAnimatedSeconds = 2;
    const qint64 seconds = since_.elapsed() / 1000;
    setSteadyText(elapsed_, tr("%1 s").arg(seconds));
    elapsed_->setVisible(seconds > 0);
    if (seconds >= kAnimatedSeconds)
        progress_->hide();
}
