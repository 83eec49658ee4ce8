// Entries post their callback as a button press would, so during a callback that polls for
// events (the live run) they run nested in it, and otherwise at once.
#include "toolkit/panels/navigation_bar.h"

#include <QAccessible>
#include <QVBoxLayout>

#include "toolkit/panels/callback_bindings.h"

namespace {

const char* const kEntryStyle =
    "QPushButton { text-align: left; padding: 5px 10px; }"
    "QPushButton:checked { font-weight: bold; }";

// Room for the label in bold too: the entry in front is drawn bold.
void fitLabel(QPushButton* button, const QString& name) {
    QFont bold = button->font();
    bold.setBold(true);
    const int em = button->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    button->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(name) + 2 * em);
}

QString withoutMnemonic(QString label) {
    return label.remove(QLatin1Char('&'));
}

}  // namespace

NavigationTab::NavigationTab(const QString& label, QWidget* parent) : QPushButton(label, parent) {
    // Checkable for its look alone: the mark follows the page in front, never a click.
    setCheckable(true);
    setFlat(true);
    setStyleSheet(QString::fromLatin1(kEntryStyle));
    setAccessibleName(withoutMnemonic(label));
    fitLabel(this, accessibleName());
}

void NavigationTab::setCurrent(bool current) {
    const bool changed = current != isChecked();
    setChecked(current);
    if (changed && QAccessible::isActive()) {
        QAccessible::State selection;
        selection.selected = true;
        QAccessibleStateChangeEvent event(this, selection);
        QAccessible::updateAccessibility(&event);
    }
}

NavigationBar::NavigationBar(QWidget* parent)
    : QFrame(parent),
      tabs_(new NavigationTabs(this)),
      places_(new QVBoxLayout(tabs_)),
      quit_(new QVBoxLayout) {
    setObjectName(QStringLiteral("navigationBar"));
    setAccessibleName(tr("Navigation"));
    tabs_->setAccessibleName(tr("Places"));
    setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 8, 6, 8);
    column->setSpacing(4);
    places_->setContentsMargins(0, 0, 0, 0);
    places_->setSpacing(4);
    column->addWidget(tabs_);
    column->addStretch(1);
    column->addLayout(quit_);
}

NavigationTab* NavigationBar::addTab(const QString& label) {
    auto* tab = new NavigationTab(label, tabs_);
    places_->addWidget(tab);
    return tab;
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
        NavigationTab* tab = addTab(QString::fromUtf8(e.label));
        const QByteArray callback(e.callback);
        connect(tab, &QAbstractButton::clicked, this, [this, callback] {
            refreshMarks();
            postNamedCallback(callback.constData());
        });
        entries_.push_back({tab, e.resourceId, nullptr});
    }
    auto* quit = new QPushButton(quitLabel, this);
    quit->setFlat(true);
    quit->setStyleSheet(QString::fromLatin1(kEntryStyle));
    quit->setAccessibleName(withoutMnemonic(quitLabel));
    fitLabel(quit, quit->accessibleName());
    const QByteArray quitName = quitCallback.toUtf8();
    connect(quit, &QAbstractButton::clicked, this,
            [quitName] { postNamedCallback(quitName.constData()); });
    quit_->addWidget(quit);
    quitButton_ = quit;
}

void NavigationBar::addPageEntry(const QString& label, QWidget* page) {
    NavigationTab* tab = addTab(label);
    connect(tab, &QAbstractButton::clicked, this, [this, page] {
        refreshMarks();
        emit pageRequested(page);
    });
    entries_.push_back({tab, -1, page});
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
        e.button->setCurrent(e.page ? e.page == markedPage_
                                    : markedPage_ == nullptr && e.resourceId == markedId_);
}

QString NavigationBar::marked() const {
    for (const Entry& e : entries_)
        if (e.button->isCurrent())
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
