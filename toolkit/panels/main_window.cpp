#include "toolkit/panels/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "toolkit/panels/callback_bindings.h"
#include "toolkit/panels/message_pane.h"
#include "toolkit/panels/navigation_bar.h"
#include "toolkit/panels/panel_registry.h"
#include "toolkit/panels/shell_status_bar.h"

namespace {

MainWindow* theWindow = nullptr;

const char* const kGeometryKey = "window/geometry";
const char* const kSplitterKey = "window/splitter";

QString nothingInFrontLine() {
    return MainWindow::tr("Nothing is shown here. Choose where to go in the navigation bar.");
}

}  // namespace

MainWindow* CurrentMainWindow() {
    return theWindow;
}

MainWindow::MainWindow(const QString& title, const QIcon& icon)
    : bar_(new NavigationBar(this)),
      bands_(new QWidget(this)),
      pageTitle_(new QLabel(this)),
      closePage_(new QToolButton(this)),
      pages_(new QStackedWidget(this)),
      placeholder_(new QLabel(this)),
      splitter_(new QSplitter(Qt::Vertical, this)),
      messages_(new MessagePane(this)),
      status_(new ShellStatusBar(this)) {
    theWindow = this;
    setWindowTitle(title);
    setAccessibleName(title);
    if (!icon.isNull())
        setWindowIcon(icon);
    setObjectName(QStringLiteral("mainWindow"));

    auto* bandColumn = new QVBoxLayout(bands_);
    bandColumn->setContentsMargins(0, 0, 0, 0);
    bands_->hide();

    QFont heading = pageTitle_->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    pageTitle_->setFont(heading);
    closePage_->setText(tr("Close page"));
    closePage_->setAccessibleName(tr("Close page"));
    closePage_->hide();
    connect(closePage_, &QToolButton::clicked, this, [this] {
        if (!front_.empty())
            RequestPanelClose(hosted_.at(front_.back()).panel.handle);
    });
    auto* header = new QHBoxLayout;
    header->addWidget(pageTitle_);
    header->addStretch(1);
    header->addWidget(closePage_);

    placeholder_->setWordWrap(true);
    placeholder_->setAlignment(Qt::AlignCenter);
    placeholder_->setObjectName(QStringLiteral("pagePlaceholder"));
    pages_->addWidget(placeholder_);
    pages_->setAccessibleName(tr("Page"));
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(pages_);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);

    auto* top = new QWidget(this);
    auto* topColumn = new QVBoxLayout(top);
    topColumn->setContentsMargins(8, 8, 8, 4);
    topColumn->addWidget(bands_);
    topColumn->addLayout(header);
    topColumn->addWidget(scroll_, 1);
    splitter_->addWidget(top);
    splitter_->addWidget(messages_);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 1);
    splitter_->setChildrenCollapsible(false);
    messages_->hide();

    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(bar_);
    row->addWidget(splitter_, 1);
    setCentralWidget(centre);
    setStatusBar(status_);
    connect(bar_, &NavigationBar::pageRequested, this, &MainWindow::showShellPage);

    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(500);
    connect(&saveTimer_, &QTimer::timeout, this, &MainWindow::saveGeometryNow);
    connect(splitter_, &QSplitter::splitterMoved, this, &MainWindow::saveGeometrySoon);
    showPlaceholder(nothingInFrontLine());
    restoreGeometryFromSettings();
}

MainWindow::~MainWindow() {
    if (saveTimer_.isActive())
        saveGeometryNow();
    SetPanelHost(nullptr);
    // The panels are the registry's: give them back as top-level windows.
    for (auto& [widget, hosted] : hosted_) {
        widget->hide();
        widget->setParent(nullptr);
    }
    if (theWindow == this)
        theWindow = nullptr;
}

void MainWindow::restoreGeometryFromSettings() {
    QSettings settings;
    geometryRestored_ = restoreGeometry(settings.value(kGeometryKey).toByteArray());
    if (!geometryRestored_)
        resize(880, 640);
    splitter_->restoreState(settings.value(kSplitterKey).toByteArray());
}

void MainWindow::saveGeometryNow() {
    saveTimer_.stop();
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kSplitterKey, splitter_->saveState());
}

void MainWindow::saveGeometrySoon() {
    if (isVisible())
        saveTimer_.start();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    saveGeometrySoon();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    saveGeometrySoon();
}

// The close box quits as the Quit entry does, through the same callback.
void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!quitCallback_.isEmpty())
        postNamedCallback(quitCallback_.toUtf8().constData());
}

void MainWindow::setPlace(int resourceId, PanelPlace place, int textBox) {
    places_[resourceId] = {place, textBox};
}

void MainWindow::setCompanion(int resourceId, QWidget* (*make)(QWidget* parent)) {
    if (make)
        companions_[resourceId] = make;
    else
        companions_.erase(resourceId);
}

std::vector<int> MainWindow::placedElsewhere() const {
    std::vector<int> ids;
    for (const auto& [id, place] : places_)
        if (place.first != PanelPlace::Page)
            ids.push_back(id);
    return ids;
}

void MainWindow::fitPages(QSize size) {
    pages_->setMinimumSize(pages_->minimumSize().expandedTo(size));
    if (geometryRestored_)
        return;
    // What the window holds beside the page area, once laid out, plus room for a band
    // and the message pane.
    // Once laid out, the window holds the page area and what it has around it; room is
    // added for a band and the message pane.
    QTimer::singleShot(0, this, [this, size] {
        const QSize around = this->size() - scroll_->viewport()->size();
        resize(size + around + QSize(16, 200));
    });
}

void MainWindow::setNavigation(std::span<const NavigationEntry> entries, const char* quitLabel,
                               const char* quitCallback) {
    quitCallback_ = QString::fromUtf8(quitCallback);
    bar_->setEntries(entries, QString::fromUtf8(quitLabel), quitCallback_);
}

void MainWindow::addShellPage(const QString& label, QWidget* page) {
    QString title = label;
    title.remove(QLatin1Char('&'));
    page->setAccessibleName(title);
    page->setWindowTitle(title);
    pages_->addWidget(page);
    hosted_[page] = {{page, 0, -1, title, false}, PanelPlace::Page, page};
    bar_->addPageEntry(label, page);
}

bool MainWindow::showShellPage(QWidget* page) {
    const auto it = hosted_.find(page);
    if (it == hosted_.end() || it->second.panel.handle != 0)
        return false;
    front_.erase(std::remove(front_.begin(), front_.end(), page), front_.end());
    front_.push_back(page);
    showFront();
    return true;
}

void MainWindow::adopt(const HostedPanel& panel) {
    const auto it = places_.find(panel.resourceId);
    const PanelPlace place = it == places_.end() ? PanelPlace::Page : it->second.first;
    QWidget* frame = panel.widget;
    switch (place) {
        case PanelPlace::Page: {
            // The panel keeps its own size at the top left of the page, as in its window.
            auto* page = new QWidget(pages_);
            auto* layout = new QGridLayout(page);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->addWidget(panel.widget, 0, 0, Qt::AlignTop | Qt::AlignLeft);
            int stretchRow = 1;
            if (const auto companion = companions_.find(panel.resourceId);
                companion != companions_.end())
                layout->addWidget(companion->second(page), stretchRow++, 0, 1, 2, Qt::AlignTop);
            layout->setRowStretch(stretchRow, 1);
            layout->setColumnStretch(1, 1);
            pages_->addWidget(page);
            fitPageArea(panel.widget);
            frame = page;
            break;
        }
        case PanelPlace::MessagePane:
            messages_->hold(panel.widget, panel.handle, panel.title, it->second.second);
            frame = messages_;
            break;
        case PanelPlace::Band: {
            auto* band = new BandFrame(bands_);
            band->setFrameShape(QFrame::StyledPanel);
            band->setAccessibleName(panel.title);
            band->setObjectName(QStringLiteral("band%1").arg(panel.resourceId));
            auto* layout = new QVBoxLayout(band);
            layout->setContentsMargins(0, 0, 0, 0);
            panel.widget->setParent(band);
            layout->addWidget(panel.widget);
            bands_->layout()->addWidget(band);
            band->hide();
            frame = band;
            break;
        }
    }
    panel.widget->show();  // shown inside its frame, which the host shows and hides
    hosted_[panel.widget] = {panel, place, frame};
    if (place == PanelPlace::Page)
        pages_->setCurrentWidget(front_.empty() ? placeholder_ : hosted_.at(front_.back()).frame);
}

void MainWindow::display(QWidget* panel) {
    const auto it = hosted_.find(panel);
    if (it == hosted_.end())
        return;
    switch (it->second.place) {
        case PanelPlace::Page:
            front_.erase(std::remove(front_.begin(), front_.end(), panel), front_.end());
            front_.push_back(panel);
            showFront();
            break;
        case PanelPlace::MessagePane:
            messages_->attention();
            break;
        case PanelPlace::Band:
            it->second.frame->show();
            bands_->setVisible(true);
            break;
    }
}

void MainWindow::conceal(QWidget* panel) {
    const auto it = hosted_.find(panel);
    if (it == hosted_.end())
        return;
    switch (it->second.place) {
        case PanelPlace::Page: {
            const bool wasFront = !front_.empty() && front_.back() == panel;
            front_.erase(std::remove(front_.begin(), front_.end(), panel), front_.end());
            if (wasFront)
                showFront();
            break;
        }
        case PanelPlace::MessagePane:
            messages_->hide();
            break;
        case PanelPlace::Band: {
            it->second.frame->hide();
            const auto bands = bands_->findChildren<QFrame*>(Qt::FindDirectChildrenOnly);
            bands_->setVisible(std::any_of(bands.begin(), bands.end(),
                                           [](const QFrame* b) { return !b->isHidden(); }));
            break;
        }
    }
}

void MainWindow::release(QWidget* panel) {
    const auto it = hosted_.find(panel);
    if (it == hosted_.end())
        return;
    conceal(panel);
    QWidget* frame = it->second.frame;
    const PanelPlace place = it->second.place;
    hosted_.erase(it);
    // The registry deletes the panel; the page or band around it goes with it.
    panel->setParent(nullptr);
    if (place == PanelPlace::Page)
        pages_->removeWidget(frame);
    if (place != PanelPlace::MessagePane)
        frame->deleteLater();
}

void MainWindow::loadFailed(const QString& report) {
    front_.clear();
    showPlaceholder(tr("This page could not be opened (%1). Choose another place in the "
                       "navigation bar.")
                        .arg(report));
}

void MainWindow::busyChanged(bool running, const char* action) {
    status_->setBusy(running, action ? QString::fromUtf8(action) : QString());
}

void MainWindow::callbackPolls() {
    status_->stopAnimation();
}

void MainWindow::showFront() {
    if (front_.empty()) {
        showPlaceholder(nothingInFrontLine());
        return;
    }
    QWidget* page = front_.back();
    const Hosted& hosted = hosted_.at(page);
    pages_->setCurrentWidget(hosted.frame);
    focusFirstControl(page);
    pageTitle_->setText(hosted.panel.title);
    pageTitle_->show();
    closePage_->setVisible(hosted.panel.closable);
    if (hosted.panel.handle > 0)
        bar_->markPanel(hosted.panel.resourceId);
    else
        bar_->markPage(page);
}

// A page brought to the front takes the keyboard, as a window of its own would.
void MainWindow::focusFirstControl(QWidget* page) {
    if (page->isAncestorOf(QApplication::focusWidget()))
        return;
    const auto children = page->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if ((child->focusPolicy() & Qt::TabFocus) && child->isEnabled() && !child->isHidden()) {
            child->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

QString MainWindow::placeholderLine() const {
    return pages_->currentWidget() == placeholder_ ? placeholder_->text() : QString();
}

void MainWindow::showPlaceholder(const QString& line) {
    placeholder_->setText(line);
    placeholder_->setAccessibleName(line);
    pages_->setCurrentWidget(placeholder_);
    pageTitle_->hide();
    closePage_->hide();
    bar_->markPanel(-1);
}

// The page area grows to the largest page seen, so a later page never resizes the window
// by itself; one larger than the window scrolls.
void MainWindow::fitPageArea(QWidget* page) {
    const QSize need = page->sizeHint().expandedTo(page->minimumSizeHint());
    pages_->setMinimumSize(pages_->minimumSize().expandedTo(need));
}
