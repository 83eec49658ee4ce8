#include "toolkit/widgets/labelled_combo_box.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

namespace {

class AccessibleLabelledCombo : public QAccessibleWidget {
  public:
    explicit AccessibleLabelledCombo(LabelledComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }

    // The list of items, as Qt's own combo box offers it.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    LabelledComboBox* box() const { return static_cast<LabelledComboBox*>(widget()); }
};

QAccessibleInterface* accessibleLabelledCombo(const QString& className, QObject* object) {
    if (className == QLatin1String("LabelledComboBox") && object && object->isWidgetType())
        return new AccessibleLabelledCombo(static_cast<LabelledComboBox*>(object));
    return nullptr;
}

}  // namespace

LabelledComboBox::LabelledComboBox(QWidget* parent) : QComboBox(parent) {
    // Before anything asks for this widget's accessible interface, which is then kept.
    static const bool installed = [] {
        QAccessible::installFactory(accessibleLabelledCombo);
        return true;
    }();
    (void)installed;
}
