// The text box: its size in characters, its lines, and the painting of changes at most
// once a frame.
#include "toolkit/panels/text_box.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "toolkit/panels/paint_now.h"

namespace {

// A box changed in a burst is read by nobody faster than this, and replacing its text and
// painting it more often costs more than everything else the burst asks for.
constexpr qint64 kTextFrameMs = 250;
// A one-line box that a live run replaces with every record reads as a counter's display
// does, once a second: nobody reads a record's raw text faster, and a screen reader is
// told of each change (a clear-and-insert pair of messages that costs more than all the
// rest a record asks for). A lone change is still shown at once.
constexpr qint64 kOneLineFrameMs = 1000;

// Sized for its rows and columns, not for Qt's generic default.
class TextBoxEdit : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;
    QSize sizeHint() const override { return minimumSize(); }
};

}  // namespace

TextBoxControl::TextBoxControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel), edit_(new TextBoxEdit(panel)), oneRow_(def.rows == 1) {
    edit_->setReadOnly(true);
    // Nobody undoes a read-only box, and a kept undo step for every change would grow
    // for as long as the box keeps changing.
    edit_->setUndoRedoEnabled(false);
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
    // A screen reader reads the document itself, and is told of each change in it (a
    // message on the accessibility bus, which costs far more than the change): a lone
    // change reaches it at once, a burst (a live run's records) once a frame, as it is
    // painted.
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
    QTextDocument* doc = edit_->document();
    const int oldEnd = doc->characterCount() - 1;
    if (oneRow_ && applied_ && oldEnd > 0) {
        // One edit in place, where a new document is a clear and an insert: a screen reader
        // is told of one change instead of two. The new text goes in after the old, and the
        // old goes after it, so the caret held at the start moves with neither: a caret
        // carried along by each replacement is one more message for every change, and tells
        // the reader nothing the text change does not.
        QTextCursor edit(doc);
        edit.beginEditBlock();
        edit.movePosition(QTextCursor::End);
        edit.insertText(pending_->text);
        edit.setPosition(0);
        edit.setPosition(oldEnd, QTextCursor::KeepAnchor);
        edit.removeSelectedText();
        edit.endEditBlock();
    } else {
        edit_->setPlainText(pending_->text);
        if (oneRow_) {
            QTextCursor home(doc);
            home.setKeepPositionOnInsert(true);
            edit_->setTextCursor(home);
        }
    }
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
    const qint64 frameMs = oneRow_ ? kOneLineFrameMs : kTextFrameMs;
    const qint64 since = painted_.isValid() ? painted_.elapsed() : frameMs;
    if (since < frameMs) {
        frame_.start(static_cast<int>(frameMs - since));
        return;
    }
    applyPending();
    // The text sits in the viewport; the frame around it has not changed.
    paintNow(edit_->viewport());
    painted_.start();
}

// The frame's end comes from the event loop, which paints what changed meanwhile in one go
// with the other controls' changes.
void TextBoxControl::endFrame() {
    applyPending();
    edit_->viewport()->update();
    painted_.start();
}
