// The operator's hands: presses, entries, right clicks and the close box, through the widgets.
#include "tests/harness/operator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <cmath>

#include "tests/harness/failures.h"
#include "toolkit/panels/testing.h"

namespace {

std::string controlName(int panel, int control) {
    return "control " + std::to_string(control) + " of panel " + std::to_string(panel);
}

// The control, if the operator can reach it at all.
QWidget* reachable(int panel, int control) {
    QWidget* window = PanelWindow(panel);
    QWidget* widget = ControlWidget(panel, control);
    if (!window || !widget) {
        reportHarnessFailure("no control " + std::to_string(control) + " on panel " +
                             std::to_string(panel));
        return nullptr;
    }
    if (!window->isVisible()) {
        reportHarnessFailure("panel " + std::to_string(panel) +
                             " is hidden: the operator cannot reach control " +
                             std::to_string(control));
        return nullptr;
    }
    return widget;
}

// Replaces the entry's text and presses Enter, as typing a value does.
void typeAndCommit(QAbstractSpinBox* spin, const QString& text) {
    auto* entry = spin->findChild<QLineEdit*>();
    entry->selectAll();
    entry->insert(text);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(spin, &enter);
}

bool setShownValue(int panel, int control, double value) {
    QWidget* widget = reachable(panel, control);
    if (!widget || !widget->isEnabled())
        return false;
    if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        typeAndCommit(spin, spin->locale()
                                .toString(static_cast<int>(value))
                                .remove(spin->locale().groupSeparator()));
        return spin->value() == value;
    }
    if (auto* spin = qobject_cast<QDoubleSpinBox*>(widget)) {
        typeAndCommit(spin, spin->locale()
                                .toString(value, 'f', spin->decimals())
                                .remove(spin->locale().groupSeparator()));
        // Compared as numbers: the shown text has no group separators, the locale's has.
        return std::fabs(spin->value() - value) < 0.5 * std::pow(10.0, -spin->decimals());
    }
    if (auto* ring = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < ring->count(); ++i) {
            const double item = ring->itemData(i).toDouble();
            if (item == value || static_cast<float>(item) == static_cast<float>(value)) {
                ring->setCurrentIndex(i);
                emit ring->activated(i);
                return true;
            }
        }
        return false;
    }
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        if (value != 0 && value != 1)
            return false;
        if (box->isChecked() != (value == 1))
            box->click();
        return box->isChecked() == (value == 1);
    }
    reportHarnessFailure(controlName(panel, control) + " takes no value");
    return false;
}

}  // namespace

bool press(int panel, int control) {
    QWidget* widget = reachable(panel, control);
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (widget && !button)
        reportHarnessFailure(controlName(panel, control) + " is not a button");
    if (!button || !button->isEnabled())
        return false;
    button->click();
    DeleteDiscardedPanels();
    return true;
}

bool setValue(int panel, int control, int value) {
    return setShownValue(panel, control, value);
}

bool setValue(int panel, int control, float value) {
    return setShownValue(panel, control, value);
}

bool setValue(int panel, int control, double value) {
    return setShownValue(panel, control, value);
}

// The click lands on whatever child is under the pointer, as a real one would.
void rightClick(int panel, int control) {
    QWidget* widget = reachable(panel, control);
    if (!widget)
        return;
    const QPoint center = widget->rect().center();
    QWidget* target = widget->childAt(center);
    if (!target)
        target = widget;
    const QPoint at = target->mapFrom(widget, center);
    // A control without a callback may open its standard menu; the operator dismisses it.
    QTimer dismiss;
    dismiss.setInterval(0);
    QObject::connect(&dismiss, &QTimer::timeout, [] {
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
    dismiss.start();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QCoreApplication::sendEvent(target, &click);
}

void closeWindow(int panel) {
    QWidget* window = PanelWindow(panel);
    if (!window || !window->isVisible()) {
        reportHarnessFailure("panel " + std::to_string(panel) +
                             " is not on screen: nothing to close");
        return;
    }
    window->close();
}

std::string controlLabel(int panel, int control) {
    QWidget* widget = ControlWidget(panel, control);
    return widget ? widget->accessibleName().toStdString() : std::string();
}

bool isDimmed(int panel) {
    QWidget* window = PanelWindow(panel);
    return window && !window->isEnabled();
}

bool isControlDimmed(int panel, int control) {
    QWidget* widget = ControlWidget(panel, control);
    return widget && !widget->isEnabled();
}

std::vector<std::string> textLines(int panel, int control) {
    return TextBoxLines(panel, control);
}
