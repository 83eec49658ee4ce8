// Control basics, the controls without a value (buttons, labels), the text box and the
// strip chart's control; the value controls are in control_values.cpp.
#include "toolkit/panels/control_widgets.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "toolkit/panels/dispatch.h"
#include "toolkit/panels/strip_chart.h"

namespace {

// About one screen refresh: painting a text box more often shows nobody anything.
constexpr qint64 kTextFrameMs = 16;

// Widget texts treat '&' as a shortcut marker; labels are meant literally.
QString literal(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

class ButtonControl : public PanelControl {
  public:
    ButtonControl(const ControlDef& def, QWidget* panel, bool hidesPanel)
        : PanelControl(def, panel) {
        auto* button = new QPushButton(literal(def.label), panel);
        button->setAutoDefault(false);
        // Room around the text: a bare label-width button looks cramped.
        const int em = button->fontMetrics().horizontalAdvance(QLatin1Char('M'));
        button->setMinimumWidth(std::max(button->sizeHint().width() + 2 * em, 7 * em));
        setWidget(button, false);
        if (hidesPanel)
            connect(button, &QPushButton::clicked, this, [button] { button->window()->hide(); });
        else
            connect(button, &QPushButton::clicked, this, &PanelControl::committed);
    }
};

class LabelControl : public PanelControl {
  public:
    LabelControl(const ControlDef& def, QWidget* panel) : PanelControl(def, panel) {
        auto* label = new QLabel(def.label, panel);
        label->setTextFormat(Qt::PlainText);
        setWidget(label, false);
    }
};

// Sized for its rows and columns, not for Qt's generic default.
class TextBoxEdit : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;
    QSize sizeHint() const override { return minimumSize(); }
};

}  // namespace

PanelControl::PanelControl(const ControlDef& def, QWidget* panel) : QObject(panel), def_(def) {}

PanelControl* PanelControl::create(const ControlDef& def, QWidget* panel) {
    switch (def.kind) {
        case ControlKind::Numeric:
            if (def.dataType == DataType::Int)
                return new IntNumericControl(def, panel);
            return new RealNumericControl(def, panel);
        case ControlKind::Binary:
            return new BinaryControl(def, panel);
        case ControlKind::Ring:
            return new RingControl(def, panel);
        case ControlKind::TextBox:
            return new TextBoxControl(def, panel);
        case ControlKind::StripChart:
            return new StripChartControl(def, panel);
        case ControlKind::Button:
            return new ButtonControl(def, panel, false);
        case ControlKind::HideButton:
            return new ButtonControl(def, panel, true);
        case ControlKind::Indicator:
            return new IndicatorControl(def, panel);
        case ControlKind::Label:
            return new LabelControl(def, panel);
    }
    return nullptr;
}

void PanelControl::setWidget(QWidget* widget, bool captioned) {
    widget_ = widget;
    widget->setAccessibleName(def_.label);
    widget->setObjectName(QStringLiteral("control%1").arg(def_.id));
    if (captioned) {
        auto* label = new QLabel(literal(def_.label), widget->parentWidget());
        label->setBuddy(widget);
        caption_ = label;
    }
}

void PanelControl::setDimmed(bool dimmed) {
    dimmed_ = dimmed;
    widget_->setEnabled(!dimmed);
    if (caption_)
        caption_->setEnabled(!dimmed);
}

void PanelControl::enableRightClick() {
    widget_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget_, &QWidget::customContextMenuRequested, this, &PanelControl::rightClicked);
}

TextBoxControl::TextBoxControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel), edit_(new TextBoxEdit(panel)) {
    edit_->setReadOnly(true);
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit_->setLineWrapMode(def.rows > 1 ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    if (def.rows == 1) {
        edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    // Room for rows x columns characters, with the scroll bar outside that room.
    const QFontMetrics fm(edit_->font());
    const int chrome = 2 * (edit_->frameWidth() + qCeil(edit_->document()->documentMargin()));
    const int bar = def.rows > 1 ? edit_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    edit_->setMinimumSize(fm.horizontalAdvance(QLatin1Char('0')) * def.columns + chrome + bar,
                          fm.lineSpacing() * def.rows + chrome);
    edit_->setSizePolicy(QSizePolicy::Expanding,
                         def.rows > 1 ? QSizePolicy::Expanding : QSizePolicy::Fixed);
    edit_->setFixedHeight(edit_->minimumHeight());
    if (def.rows > 1)
        edit_->setMaximumHeight(QWIDGETSIZE_MAX);
    setWidget(edit_, true);
    frame_.setSingleShot(true);
    connect(&frame_, &QTimer::timeout, this, &TextBoxControl::endFrame);
    reset(def.text);
}

// A text ending in a line feed holds no empty last line; an empty text holds no line.
void TextBoxControl::reset(const QString& text) {
    Replacement next{text.endsWith(QLatin1Char('\n')) ? text.chopped(1) : text, !text.isEmpty()};
    const bool unchanged = pending_
                               ? pending_->text == next.text && pending_->hasLines == next.hasLines
                               : applied_ && *applied_ == next.text && hasLines_ == next.hasLines;
    if (unchanged)
        return;
    pending_ = std::move(next);
    // A screen reader reads the document itself, so with one listening only painting waits.
    if (QAccessible::isActive())
        applyPending();
    paintSoon();
}

void TextBoxControl::insertLine(int index, QString text) {
    applyPending();
    applied_.reset();
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    QTextDocument* doc = edit_->document();
    if (hasLines_ && index >= 0 && index < doc->blockCount()) {
        QTextCursor at(doc->findBlockByNumber(index));
        at.insertText(text);
        at.insertBlock();
    } else {
        QTextCursor end(doc);
        end.movePosition(QTextCursor::End);
        if (hasLines_)
            end.insertBlock();
        end.insertText(text);
        hasLines_ = true;
        edit_->setTextCursor(end);
        edit_->ensureCursorVisible();
    }
    paintSoon();
}

std::vector<std::string> TextBoxControl::lines() const {
    applyPending();
    std::vector<std::string> out;
    if (!hasLines_)
        return out;
    for (QTextBlock b = edit_->document()->begin(); b.isValid(); b = b.next())
        out.push_back(b.text().toStdString());
    return out;
}

void TextBoxControl::applyPending() const {
    if (!pending_)
        return;
    edit_->setPlainText(pending_->text);
    hasLines_ = pending_->hasLines;
    applied_ = std::move(pending_->text);
    pending_.reset();
}

// Paints before returning unless the box was painted less than a frame ago; then the
// frame's end applies the newest text and paints it.
void TextBoxControl::paintSoon() {
    if (frame_.isActive())
        return;
    if (!edit_->isVisible()) {
        applyPending();
        return;
    }
    const qint64 since = painted_.isValid() ? painted_.elapsed() : kTextFrameMs;
    if (since < kTextFrameMs) {
        frame_.start(static_cast<int>(kTextFrameMs - since));
        return;
    }
    endFrame();
}

void TextBoxControl::endFrame() {
    applyPending();
    paintNow(edit_);
    painted_.start();
}

StripChartControl::StripChartControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel),
      chart_(new StripChart(def.label, def.points, def.ymin, def.ymax, panel)) {
    if (def.width > 0 && def.height > 0)
        chart_->setPreferredSize({def.width, def.height});
    setWidget(chart_, true);
}
