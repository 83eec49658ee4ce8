// The value controls: numeric (int, float, double), binary switch, ring and indicator.
//
// Each keeps its value in its own type. Program writes go through a QSignalBlocker, so
// only the operator's changes come out as committed().
#pragma once

#include "toolkit/panels/panel_control.h"

class QSpinBox;
class QDoubleSpinBox;
class QCheckBox;
class QLineEdit;

// numeric, dataType int.
class IntNumericControl : public PanelControl {
    Q_OBJECT
  public:
    IntNumericControl(const ControlDef& def, QWidget* panel);
    int get(int* value) const override;
    int set(int value) override;

  private:
    QSpinBox* spin_;
    int value_;
};

// numeric, dataType float or double. The value is kept exactly as set; the widget shows
// it rounded to the control's precision.
class RealNumericControl : public PanelControl {
    Q_OBJECT
  public:
    RealNumericControl(const ControlDef& def, QWidget* panel);
    int get(float* value) const override;
    int get(double* value) const override;
    int set(float value) override;
    int set(double value) override;

  private:
    int store(double value);
    QDoubleSpinBox* spin_;
    double value_;
};

class BinaryControl : public PanelControl {
    Q_OBJECT
  public:
    BinaryControl(const ControlDef& def, QWidget* panel);
    int get(int* value) const override;
    int set(int value) override;

  private:
    QCheckBox* box_;
};

// A read-only numeric display of a double.
class IndicatorControl : public PanelControl {
    Q_OBJECT
  public:
    IndicatorControl(const ControlDef& def, QWidget* panel);
    int get(double* value) const override;
    int set(double value) override;

  private:
    QLineEdit* display_;
    double value_;
};

class QComboBox;

class RingControl : public PanelControl {
    Q_OBJECT
  public:
    RingControl(const ControlDef& def, QWidget* panel);
    int get(int* value) const override;
    int get(float* value) const override;
    int set(int value) override;
    int set(float value) override;
    int relabel(int index, const QString& label);

  private:
    int select(double value);
    void fitLabels();
    QComboBox* combo_;
};
