#include "toolkit/panels/message_pane.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "toolkit/panels/panel_registry.h"
#include "toolkit/panels/text_box.h"

MessagePane::MessagePane(QWidget* parent)
    : QFrame(parent), title_(new QLabel(this)), hint_(new QLabel(this)), body_(new QVBoxLayout) {
    setObjectName(QStringLiteral("messagePane"));
    setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 6);
    auto* header = new QHBoxLayout;
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    header->addWidget(title_);
    header->addStretch(1);
    auto* clearButton = new QPushButton(tr("C&lear messages"), this);
    clearButton->setAccessibleName(tr("Clear messages"));
    connect(clearButton, &QPushButton::clicked, this, &MessagePane::clear);
    header->addWidget(clearButton);
    column->addLayout(header);
    column->addLayout(body_, 1);
    hint_->setWordWrap(true);
    hint_->setObjectName(QStringLiteral("messageHint"));
    hint_->setAccessibleName(tr("What this means"));
    hint_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    hint_->hide();
    column->addWidget(hint_);
}

void MessagePane::hold(QWidget* panel, int handle, const QString& title, int textBox) {
    handle_ = handle;
    textBox_ = textBox;
    title_->setText(title);
    setAccessibleName(title);
    panel->setParent(this);
    body_->addWidget(panel);
}

void MessagePane::attention() {
    show();
    auto* text = findChild<QPlainTextEdit*>();
    if (!text)
        return;
    text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
    if (QAccessible::isActive()) {
        QAccessibleEvent alert(text, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void MessagePane::setHint(const QString& hint) {
    hint_->setText(hint);
    hint_->setVisible(!hint.isEmpty());
}

QString MessagePane::hint() const {
    return hint_->text();
}

void MessagePane::clear() {
    int code = 0;
    if (auto* box = qobject_cast<TextBoxControl*>(findControl(handle_, textBox_, code)))
        box->reset({});
    setHint({});
}
