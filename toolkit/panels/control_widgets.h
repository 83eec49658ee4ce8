// The controls of a panel instance by kind: the one place that knows every kind, and the
// controls without a value of their own (buttons, labels, the strip chart's control).
#pragma once

#include "toolkit/panels/panel_control.h"

// A control of `def`'s kind whose widgets are children of `panel`.
PanelControl* createControl(const ControlDef& def, QWidget* panel);

class StripChart;

class StripChartControl : public PanelControl {
    Q_OBJECT
  public:
    StripChartControl(const ControlDef& def, QWidget* panel);
    StripChart* chart() const { return chart_; }

  private:
    StripChart* chart_;
};
