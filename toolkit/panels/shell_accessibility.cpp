#include "toolkit/panels/shell_accessibility.h"

#include <QAccessibleWidget>
#include <QKeySequence>

#include "toolkit/panels/navigation_bar.h"

namespace {

// A navigation entry as a page tab: selected while its page is in front, and its one
// action (the default a screen reader or voice control uses) goes to the page as a click
// does. The click comes from the event loop, once the reader's call has returned: a page
// may take seconds to open (the Ports dialog waits for the operator).
class AccessibleNavigationTab : public QAccessibleWidget {
  public:
    explicit AccessibleNavigationTab(NavigationTab* tab)
        : QAccessibleWidget(tab, QAccessible::PageTab) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = tab()->isCurrent();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && tab()->isEnabled())
            QMetaObject::invokeMethod(tab(), &QAbstractButton::click, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name != pressAction())
            return QAccessibleWidget::keyBindingsForAction(name);
        const QKeySequence key = QKeySequence::mnemonic(tab()->text());
        return key.isEmpty() ? QStringList() : QStringList(key.toString(QKeySequence::NativeText));
    }

  private:
    NavigationTab* tab() const { return static_cast<NavigationTab*>(object()); }
};

QAccessibleInterface* shellRegion(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("PanelWidget") || className == QLatin1String("MessagePane") ||
        className == QLatin1String("BandFrame"))
        return new QAccessibleWidget(widget, QAccessible::Pane);
    if (className == QLatin1String("NavigationBar"))
        return new QAccessibleWidget(widget, QAccessible::ToolBar);
    if (className == QLatin1String("NavigationTabs"))
        return new QAccessibleWidget(widget, QAccessible::PageTabList);
    if (className == QLatin1String("NavigationTab"))
        return new AccessibleNavigationTab(static_cast<NavigationTab*>(widget));
    return nullptr;
}

}  // namespace

void installShellAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(shellRegion);
        return true;
    }();
    (void)installed;
}
