#include "toolkit/panels/shell_accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

QAccessibleInterface* shellRegion(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("PanelWidget") || className == QLatin1String("MessagePane") ||
        className == QLatin1String("BandFrame"))
        return new QAccessibleWidget(widget, QAccessible::Pane);
    if (className == QLatin1String("NavigationBar"))
        return new QAccessibleWidget(widget, QAccessible::ToolBar);
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
