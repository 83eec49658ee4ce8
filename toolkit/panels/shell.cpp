#include "toolkit/panels/shell.h"

#include <QApplication>
#include <QIcon>

#include "toolkit/panels/main_window.h"
#include "toolkit/panels/message_pane.h"
#include "toolkit/panels/panel_registry.h"
#include "toolkit/panels/resource_file.h"
#include "toolkit/panels/shell_accessibility.h"
#include "toolkit/panels/shell_status_bar.h"
#include "toolkit/panels/types.h"

int CreateMainWindow(const char* title, const char* iconName) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return UIE_NotInitialized;
    delete CurrentMainWindow();
    // Where QSettings keeps the window's place (and the tool's other choices).
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    const QString name = QString::fromUtf8(iconName ? iconName : "");
    // The installed icon comes from the icon theme; a build tree run falls back to the file.
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull())
        icon = QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
    installShellAccessibility();
    auto* window = new MainWindow(QString::fromUtf8(title ? title : ""), icon);
    SetPanelHost(window);
    window->show();
    return UIE_NoError;
}

void DestroyMainWindow() {
    delete CurrentMainWindow();
    // Where QSettings keeps the window's place (and the tool's other choices).
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
}

void SetPanelPlace(int resourceId, PanelPlace place, int textBox) {
    if (MainWindow* w = CurrentMainWindow())
        w->setPlace(resourceId, place, textBox);
}

void SetPageCompanion(int resourceId, PageCompanionMaker make) {
    if (MainWindow* w = CurrentMainWindow())
        w->setCompanion(resourceId, make);
}

void FitPagesOf(const char* resourceFile) {
    MainWindow* w = CurrentMainWindow();
    ResourceError error;
    const QString path = resolveResourcePath(resourceFile, error);
    const auto file = path.isEmpty() ? nullptr : loadResourceFile(path, error);
    if (w && file)
        w->fitPages(largestPanelSize(file, w->placedElsewhere()));
}

void SetNavigationEntries(std::span<const NavigationEntry> entries, const char* quitLabel,
                          const char* quitCallback) {
    if (MainWindow* w = CurrentMainWindow())
        w->setNavigation(entries, quitLabel, quitCallback);
}

void AddShellPage(const char* label, QWidget* page) {
    if (MainWindow* w = CurrentMainWindow())
        w->addShellPage(QString::fromUtf8(label), page);
}

void ShowShellPage(QWidget* page) {
    MainWindow* w = CurrentMainWindow();
    if (w && w->showShellPage(page))
        return;
    page->show();
    page->raise();
}

void SetStatusField(StatusField field, const char* text) {
    if (MainWindow* w = CurrentMainWindow())
        w->shellStatus()->setField(field, QString::fromUtf8(text ? text : ""));
}

void SetMessageHint(const char* text) {
    if (MainWindow* w = CurrentMainWindow())
        w->messagePane()->setHint(QString::fromUtf8(text ? text : ""));
}
