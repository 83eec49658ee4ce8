// Entries post their callback as a button press would, so during a callback that polls for
// events (the live run) they run nested in it, and otherwise at once.
#include "toolkit/panels/navigation_bar.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "toolkit/panels/callback_bindings.h"

NavigationBar::NavigationBar(QWidget* parent)
    : QFrame(parent), places_(new QVBoxLayout), quit_(new QVBoxLayout) {
    setObjectName(QStringLiteral("navigationBar"));
    setAccessibleName(tr("Navigation"));
    setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 8, 6, 8);
    column->setSpacing(4);
    places_->setSpacing(4);
    column->addLayout(places_);
    column->addStretch(1);
    column->addLayout(quit_);
}

QAbstractButton* NavigationBar::addButton(const QString& label) {
    auto* button = new QPushButton(label, this);
    button->setCheckable(true);
    button->setFlat(true);
    button->setStyleSheet(
        QStringLiteral("QPushButton { text-align: left; padding: 5px 10px; }"
                       "QPushButton:checked { font-weight: bold; }"));
    QString name = label;
    button->setAccessibleName(name.remove(QLatin1Char('&')));
    // Room for the label in bold too: a style may embolden the marked entry.
    QFont bold = button->font();
    bold.setBold(true);
    const int em = button->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    button->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(name) + 2 * em);
    return button;
}

void NavigationBar::clear() {
    for (const Entry& e : entries_) delete e.button;
    entries_.clear();
    delete quitButton_;
    quitButton_ = nullptr;
}

void NavigationBar::setEntries(std::span<const NavigationEntry> entries, const QString& quitLabel,
                               const QString& quitCallback) {
    clear();
    for (const NavigationEntry& e : entries) {
        QAbstractButton* button = addButton(QString::fromUtf8(e.label));
        const QByteArray callback(e.callback);
        // The mark follows the page in front, never the click alone.
        connect(button, &QAbstractButton::clicked, this, [this, callback] {
            refreshMarks();
            postNamedCallback(callback.constData());
        });
        places_->addWidget(button);
        entries_.push_back({button, e.resourceId, nullptr});
    }
    quitButton_ = addButton(quitLabel);
    quitButton_->setCheckable(false);
    const QByteArray quit = quitCallback.toUtf8();
    connect(quitButton_, &QAbstractButton::clicked, this,
            [quit] { postNamedCallback(quit.constData()); });
    quit_->addWidget(quitButton_);
}

void NavigationBar::addPageEntry(const QString& label, QWidget* page) {
    QAbstractButton* button = addButton(label);
    connect(button, &QAbstractButton::clicked, this, [this, page] {
        refreshMarks();
        emit pageRequested(page);
    });
    places_->addWidget(button);
    entries_.push_back({button, -1, page});
}

void NavigationBar::markPanel(int resourceId) {
    markedId_ = resourceId;
    markedPage_ = nullptr;
    refreshMarks();
}

void NavigationBar::markPage(QWidget* page) {
    markedId_ = -1;
    markedPage_ = page;
    refreshMarks();
}

void NavigationBar::refreshMarks() {
    for (const Entry& e : entries_)
        e.button->setChecked(e.page ? e.page == markedPage_
                                    : markedPage_ == nullptr && e.resourceId == markedId_);
}

QString NavigationBar::marked() const {
    for (const Entry& e : entries_)
        if (e.button->isChecked())
            return e.button->accessibleName();
    return {};
}

bool NavigationBar::press(const QString& label) {
    for (const Entry& e : entries_) {
        if (e.button->accessibleName() == label) {
            e.button->click();
            return true;
        }
    }
    if (quitButton_ && quitButton_->accessibleName() == label) {
        quitButton_->click();
        return true;
    }
    return false;
}
