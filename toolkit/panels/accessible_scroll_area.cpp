#include "toolkit/panels/accessible_scroll_area.h"

#include <QAbstractScrollArea>
#include <QAccessibleWidget>
#include <QScrollBar>

namespace {

class AccessibleScrollArea : public QAccessibleWidget {
  public:
    explicit AccessibleScrollArea(QAbstractScrollArea* area)
        : QAccessibleWidget(area, QAccessible::Client) {}

    bool isValid() const override { return QAccessibleWidget::isValid() && area()->viewport(); }
    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QWidgetList kids = children();
        if (index < 0 || index >= kids.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(kids.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return static_cast<int>(children().indexOf(static_cast<QWidget*>(child->object())));
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (!area()->isVisible())
            return nullptr;
        const QWidgetList kids = children();
        for (QWidget* kid : kids) {
            if (QRect(kid->mapToGlobal(QPoint(0, 0)), kid->size()).contains(x, y))
                return QAccessible::queryAccessibleInterface(kid);
        }
        return nullptr;
    }

  private:
    QAbstractScrollArea* area() const { return static_cast<QAbstractScrollArea*>(object()); }

    QWidgetList children() const {
        QWidgetList kids;
        if (QWidget* viewport = area()->viewport())
            kids.append(viewport);
        // A scroll bar sits in a container of its own, which is the child a reader meets.
        for (const QScrollBar* bar : {area()->horizontalScrollBar(), area()->verticalScrollBar()}) {
            if (bar && bar->isVisible() && bar->parentWidget())
                kids.append(bar->parentWidget());
        }
        if (QWidget* corner = area()->cornerWidget(); corner && corner->isVisible())
            kids.append(corner);
        return kids;
    }
};

QAccessibleInterface* scrollArea(const QString& className, QObject* object) {
    // Subclasses with interfaces of their own (text boxes, lists, tables) are named first
    // on their class chain and never get here.
    if ((className == QLatin1String("QScrollArea") ||
         className == QLatin1String("QAbstractScrollArea")) &&
        object && object->isWidgetType())
        return new AccessibleScrollArea(static_cast<QAbstractScrollArea*>(object));
    return nullptr;
}

}  // namespace

void installAccessibleScrollAreas() {
    static const bool installed = [] {
        QAccessible::installFactory(scrollArea);
        return true;
    }();
    (void)installed;
}
