// The controls without a value of their own (buttons, labels, the strip chart's control)
// and the factory that makes a control of each kind.
#include "toolkit/panels/control_widgets.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "toolkit/panels/control_values.h"
#include "toolkit/panels/strip_chart.h"
#include "toolkit/panels/text_box.h"

namespace {

class ButtonControl : public PanelControl {
  public:
    ButtonControl(const ControlDef& def, QWidget* panel, bool hidesPanel)
        : PanelControl(def, panel) {
        auto* button = new QPushButton(literalLabel(def.label), panel);
        button->setAutoDefault(false);
        // Room around the text: a bare label-width button looks cramped.
        const int em = button->fontMetrics().horizontalAdvance(QLatin1Char('M'));
        button->setMinimumWidth(std::max(button->sizeHint().width() + 2 * em, 7 * em));
        setWidget(button, false);
        if (hidesPanel)
            connect(button, &QPushButton::clicked, this, &PanelControl::hidePanelRequested);
        else
            connect(button, &QPushButton::clicked, this, &PanelControl::committed);
    }
};

class LabelControl : public PanelControl {
  public:
    LabelControl(const ControlDef& def, QWidget* panel) : PanelControl(def, panel) {
        auto* label = new QLabel(def.label, panel);
        label->setTextFormat(Qt::PlainText);
        setWidget(label, false);
    }
};

}  // namespace

PanelControl* createControl(const ControlDef& def, QWidget* panel) {
    switch (def.kind) {
        case ControlKind::Numeric:
            if (def.dataType == DataType::Int)
                return new IntNumericControl(def, panel);
            return new RealNumericControl(def, panel);
        case ControlKind::Binary:
            return new BinaryControl(def, panel);
        case ControlKind::Ring:
            return new RingControl(def, panel);
        case ControlKind::TextBox:
            return new TextBoxControl(def, panel);
        case ControlKind::StripChart:
            return new StripChartControl(def, panel);
        case ControlKind::Button:
            return new ButtonControl(def, panel, false);
        case ControlKind::HideButton:
            return new ButtonControl(def, panel, true);
        case ControlKind::Indicator:
            return new IndicatorControl(def, panel);
        case ControlKind::Label:
            return new LabelControl(def, panel);
    }
    return nullptr;
}

StripChartControl::StripChartControl(const ControlDef& def, QWidget* panel)
    : PanelControl(def, panel),
      chart_(new StripChart(def.label, def.points, def.ymin, def.ymax, panel)) {
    chart_->setUnits(def.unit, def.secondLabel, def.secondUnit);
    if (def.width > 0 && def.height > 0)
        chart_->setPreferredSize({def.width, def.height});
    setWidget(chart_, true);
}
