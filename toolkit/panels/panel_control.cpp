// What every control shares: its widget and caption, dimming and the right click.
#include "toolkit/panels/panel_control.h"

#include <QLabel>
#include <QWidget>

#include "toolkit/panels/paint_now.h"

QString literalLabel(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

PanelControl::PanelControl(const ControlDef& def, QWidget* panel) : QObject(panel), def_(def) {}

void PanelControl::setWidget(QWidget* widget, bool captioned) {
    widget_ = widget;
    widget->setAccessibleName(def_.label);
    widget->setObjectName(QStringLiteral("control%1").arg(def_.id));
    if (captioned) {
        auto* label = new QLabel(literalLabel(def_.label), widget->parentWidget());
        label->setBuddy(widget);
        caption_ = label;
    }
}

void PanelControl::setDimmed(bool dimmed) {
    dimmed_ = dimmed;
    widget_->setEnabled(!dimmed);
    if (caption_)
        caption_->setEnabled(!dimmed);
}

void PanelControl::enableRightClick() {
    widget_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget_, &QWidget::customContextMenuRequested, this, &PanelControl::rightClicked);
}

void PanelControl::paintValue() {
    paintNowOrWithinFrame(widget_, valuePainted_);
}
