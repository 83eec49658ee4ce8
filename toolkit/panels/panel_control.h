// The base of every control of a panel instance: it wraps the Qt widget that shows the
// control, keeps its value in the control's own type and reports what the operator does
// to it.
//
// Values are checked, never converted: a getter or setter of the wrong type answers
// UIE_TypeMismatch and a value outside the control's range UIE_ValueOutOfRange, and
// nothing changes. Setting a value from the program never reports a commit.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "toolkit/panels/resource_defs.h"
#include "toolkit/panels/types.h"

class QWidget;

class PanelControl : public QObject {
    Q_OBJECT
  public:
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
    // Shows a value just set by the program: at once, or within a frame when it changes
    // faster than that.
    void paintValue();

  signals:
    void committed();  // the operator pressed it or changed its value
    void rightClicked();
    void hidePanelRequested();  // a button whose whole job is to hide its panel

  protected:
    PanelControl(const ControlDef& def, QWidget* panel);
    // Installs the control's widget; `captioned` adds the label beside it.
    void setWidget(QWidget* widget, bool captioned);

  private:
    ControlDef def_;
    QWidget* widget_ = nullptr;
    QWidget* caption_ = nullptr;
    bool dimmed_ = false;
    QElapsedTimer valuePainted_;
};

// Widget texts treat '&' as a shortcut marker; labels are meant literally.
QString literalLabel(QString text);
