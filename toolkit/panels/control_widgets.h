// The controls of a panel instance: each wraps the Qt widget that shows it, keeps its
// value in the control's own type and reports what the operator does to it.
//
// Values are checked, never converted: a getter or setter of the wrong type answers
// UIE_TypeMismatch and a value outside the control's range UIE_ValueOutOfRange, and
// nothing changes. Setting a value from the program never reports a commit.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/panels/resource_file.h"
#include "toolkit/panels/userint.h"

class QWidget;

class PanelControl : public QObject {
    Q_OBJECT
  public:
    // A control of `def`'s kind whose widgets are children of `panel`.
    static PanelControl* create(const ControlDef& def, QWidget* panel);

    const ControlDef& def() const { return def_; }
    QWidget* widget() const { return widget_; }
    QWidget* caption() const { return caption_; }  // the label beside it, or nullptr

    virtual int get(int*) const { return UIE_TypeMismatch; }
    virtual int get(float*) const { return UIE_TypeMismatch; }
    virtual int get(double*) const { return UIE_TypeMismatch; }
    virtual int set(int) { return UIE_TypeMismatch; }
    virtual int set(float) { return UIE_TypeMismatch; }
    virtual int set(double) { return UIE_TypeMismatch; }

    void setDimmed(bool dimmed);
    bool dimmed() const { return dimmed_; }
    // Lets the operator's right click through as rightClicked().
    void enableRightClick();

  signals:
    void committed();  // the operator pressed it or changed its value
    void rightClicked();

  protected:
    PanelControl(const ControlDef& def, QWidget* panel);
    // Installs the control's widget; `captioned` adds the label beside it.
    void setWidget(QWidget* widget, bool captioned);

  private:
    ControlDef def_;
    QWidget* widget_ = nullptr;
    QWidget* caption_ = nullptr;
    bool dimmed_ = false;
};

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

class QPlainTextEdit;

// A text box. A burst of changes (a live run replaces the text per record) is painted at
// most once a frame: a change within a frame of the last paint waits, newest text only,
// for a single-shot timer at the end of that frame. A lone change is painted at once.
class TextBoxControl : public PanelControl {
    Q_OBJECT
  public:
    TextBoxControl(const ControlDef& def, QWidget* panel);
    // Replaces the whole text; the same text again changes nothing.
    void reset(const QString& text);
    // Inserts before line `index`; a negative or too large index appends.
    void insertLine(int index, QString text);
    // The lines as the box holds them, a pending replacement included.
    std::vector<std::string> lines() const;

  private:
    struct Replacement {
        QString text;  // without the final line feed
        bool hasLines;
    };
    // The pending text is already the box's content as far as anyone asks, so applying it
    // early (on a read) changes nothing observable: hence const, with mutable state.
    void applyPending() const;
    void paintSoon();
    void endFrame();

    QPlainTextEdit* edit_;
    // An empty document is either no line or one empty line; only this tells them apart.
    mutable bool hasLines_ = false;
    mutable std::optional<Replacement> pending_;
    // What the last replacement put in the document, while no insert has changed it since.
    mutable std::optional<QString> applied_;
    QElapsedTimer painted_;
    QTimer frame_;
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

class StripChart;

class StripChartControl : public PanelControl {
    Q_OBJECT
  public:
    StripChartControl(const ControlDef& def, QWidget* panel);
    StripChart* chart() const { return chart_; }

  private:
    StripChart* chart_;
};
