#include "toolkit/panels/ring_combo.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

namespace {

class AccessibleRing : public QAccessibleWidget {
  public:
    explicit AccessibleRing(RingComboBox* ring) : QAccessibleWidget(ring, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return ring()->currentText();
        return QAccessibleWidget::text(t);
    }

    // The list of items, as Qt's own combo box offers it.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(ring()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == ring()->view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            ring()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    RingComboBox* ring() const { return static_cast<RingComboBox*>(widget()); }
};

QAccessibleInterface* accessibleRing(const QString& className, QObject* object) {
    if (className == QLatin1String("RingComboBox") && object && object->isWidgetType())
        return new AccessibleRing(static_cast<RingComboBox*>(object));
    return nullptr;
}

}  // namespace

RingComboBox::RingComboBox(QWidget* parent) : QComboBox(parent) {
    // Before anything asks for this widget's accessible interface, which is then kept.
    static const bool installed = [] {
        QAccessible::installFactory(accessibleRing);
        return true;
    }();
    (void)installed;
}
