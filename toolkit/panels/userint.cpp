// The C-style panel interface over the registry: handles and ids in, UIError codes out.
//
// Every change the operator can see is painted before the call returns, because the
// caller may be a callback that blocks for seconds afterwards. The one exception is a text
// box changed again within a frame of its last paint: that change is painted at the end of
// the frame, from the event processing every blocking wait does.
#include "toolkit/panels/userint.h"

#include <QApplication>
#include <cstdio>

#include "toolkit/panels/callback_bindings.h"
#include "toolkit/panels/control_values.h"
#include "toolkit/panels/control_widgets.h"
#include "toolkit/panels/paint_now.h"
#include "toolkit/panels/panel_host.h"
#include "toolkit/panels/panel_registry.h"
#include "toolkit/panels/quit_request.h"
#include "toolkit/panels/resource_file.h"
#include "toolkit/panels/strip_chart.h"
#include "toolkit/panels/text_box.h"

namespace {

int reportLoadFailure(const ResourceError& error) {
    std::fprintf(stderr, "LoadPanel: %s\n", error.message.c_str());
    if (PanelHost* host = CurrentPanelHost())
        host->loadFailed(QString::fromStdString(error.message));
    return error.code;
}

template <typename T>
int getValue(int panel, int control, T* value) {
    int code = UIE_NoError;
    const PanelControl* c = findControl(panel, control, code);
    if (!c)
        return code;
    return value ? c->get(value) : UIE_TypeMismatch;
}

template <typename T>
int setValue(int panel, int control, T value) {
    int code = UIE_NoError;
    PanelControl* c = findControl(panel, control, code);
    if (!c)
        return code;
    code = c->set(value);
    if (code == UIE_NoError)
        c->paintValue();
    return code;
}

template <typename Kind>
Kind* findKind(int panel, int control, int& code) {
    PanelControl* c = findControl(panel, control, code);
    auto* kind = qobject_cast<Kind*>(c);
    if (c && !kind)
        code = UIE_TypeMismatch;
    return kind;
}

}  // namespace

void BindCallbacks(std::span<const CallbackBinding> table) {
    bindCallbackTable(table);
}

// Panels are top-level windows, or pages of the main window once there is one; the parent
// handle is not used.
int LoadPanel(int, const char* resourceFile, int panelResourceId) {
    ResourceError error;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return reportLoadFailure({UIE_NotInitialized, "the toolkit is not initialised"});
    const QString path = resolveResourcePath(resourceFile, error);
    if (path.isEmpty())
        return reportLoadFailure(error);
    const auto file = loadResourceFile(path, error);
    if (!file)
        return reportLoadFailure(error);
    const PanelDef* def = file->panel(panelResourceId);
    if (!def) {
        return reportLoadFailure({UIE_PanelIdNotFound, QStringLiteral("%1: no panel with id %2")
                                                           .arg(path)
                                                           .arg(panelResourceId)
                                                           .toStdString()});
    }
    const int handle = createPanel(file, *def, error);
    return handle < 0 ? reportLoadFailure(error) : handle;
}

int DisplayPanel(int panel) {
    PanelWidget* window = findPanel(panel);
    if (!window)
        return UIE_InvalidPanel;
    window->displayPanel();
    paintNow(window);
    return UIE_NoError;
}

int HidePanel(int panel) {
    PanelWidget* window = findPanel(panel);
    if (!window)
        return UIE_InvalidPanel;
    window->concealPanel();
    return UIE_NoError;
}

int DiscardPanel(int panel) {
    if (!findPanel(panel))
        return UIE_InvalidPanel;
    discardPanel(panel);
    return UIE_NoError;
}

void DiscardAllPanels() {
    discardAllPanels();
    forgetQuit();
}

int GetCtrlVal(int panel, int control, int* value) {
    return getValue(panel, control, value);
}
int GetCtrlVal(int panel, int control, float* value) {
    return getValue(panel, control, value);
}
int GetCtrlVal(int panel, int control, double* value) {
    return getValue(panel, control, value);
}
int SetCtrlVal(int panel, int control, int value) {
    return setValue(panel, control, value);
}
int SetCtrlVal(int panel, int control, float value) {
    return setValue(panel, control, value);
}
int SetCtrlVal(int panel, int control, double value) {
    return setValue(panel, control, value);
}

int SetPanelAttribute(int panel, int attribute, int value) {
    PanelWidget* window = findPanel(panel);
    if (!window)
        return UIE_InvalidPanel;
    if (attribute != ATTR_DIMMED)
        return UIE_InvalidAttribute;
    if (value != 0 && value != 1)
        return UIE_ValueOutOfRange;
    window->setEnabled(value == 0);
    paintNow(window);
    return UIE_NoError;
}

int GetPanelAttribute(int panel, int attribute, int* value) {
    const PanelWidget* window = findPanel(panel);
    if (!window)
        return UIE_InvalidPanel;
    if (attribute != ATTR_DIMMED || !value)
        return UIE_InvalidAttribute;
    *value = window->isEnabled() ? 0 : 1;
    return UIE_NoError;
}

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    int code = UIE_NoError;
    PanelControl* c = findControl(panel, control, code);
    if (!c)
        return code;
    if (attribute != ATTR_DIMMED)
        return UIE_InvalidAttribute;
    if (value != 0 && value != 1)
        return UIE_ValueOutOfRange;
    c->setDimmed(value == 1);
    paintNow(c->widget());
    if (c->caption())
        paintNow(c->caption());
    return UIE_NoError;
}

int GetCtrlAttribute(int panel, int control, int attribute, int* value) {
    int code = UIE_NoError;
    const PanelControl* c = findControl(panel, control, code);
    if (!c)
        return code;
    if (attribute != ATTR_DIMMED || !value)
        return UIE_InvalidAttribute;
    *value = c->dimmed() ? 1 : 0;
    return UIE_NoError;
}

int SetRingItemLabel(int panel, int control, int index, const char* label) {
    int code = UIE_NoError;
    RingControl* ring = findKind<RingControl>(panel, control, code);
    if (!ring)
        return code;
    code = ring->relabel(index, QString::fromUtf8(label ? label : ""));
    if (code == UIE_NoError)
        paintNow(ring->widget()->window());
    return code;
}

int ResetTextBox(int panel, int control, const char* text) {
    int code = UIE_NoError;
    TextBoxControl* box = findKind<TextBoxControl>(panel, control, code);
    if (!box)
        return code;
    box->reset(QString::fromUtf8(text ? text : ""));
    return UIE_NoError;
}

int InsertTextBoxLine(int panel, int control, int line, const char* text) {
    int code = UIE_NoError;
    TextBoxControl* box = findKind<TextBoxControl>(panel, control, code);
    if (!box)
        return code;
    box->insertLine(line, QString::fromUtf8(text ? text : ""));
    return UIE_NoError;
}

// The x axis always spans the chart's points, so only "no change" and "manual" are taken
// for it, and both leave it as it is.
int SetAxisRange(int panel, int control, int xAxisScaling, double, double, int yAxisScaling,
                 double ymin, double ymax) {
    int code = UIE_NoError;
    StripChartControl* c = findKind<StripChartControl>(panel, control, code);
    if (!c)
        return code;
    if (xAxisScaling != VAL_NO_CHANGE && xAxisScaling != VAL_MANUAL)
        return UIE_InvalidAttribute;
    switch (yAxisScaling) {
        case VAL_NO_CHANGE:
            return UIE_NoError;
        case VAL_AUTOSCALE:
            c->chart()->setAutoscale(true);
            break;
        case VAL_MANUAL:
            if (!(ymin <= ymax))
                return UIE_ValueOutOfRange;
            c->chart()->setYRange(ymin, ymax);
            break;
        default:
            return UIE_InvalidAttribute;
    }
    paintNow(c->chart());
    return UIE_NoError;
}

int PlotStripChartPoint(int panel, int control, double value) {
    int code = UIE_NoError;
    StripChartControl* c = findKind<StripChartControl>(panel, control, code);
    if (!c)
        return code;
    c->chart()->addPoint(value);
    return UIE_NoError;
}

int PlotStripChartSample(int panel, int control, const StripChartSample& sample) {
    int code = UIE_NoError;
    StripChartControl* c = findKind<StripChartControl>(panel, control, code);
    if (!c)
        return code;
    c->chart()->addSample(sample);
    return UIE_NoError;
}

int StartStripChartRun(int panel, int control) {
    int code = UIE_NoError;
    StripChartControl* c = findKind<StripChartControl>(panel, control, code);
    if (!c)
        return code;
    c->chart()->startRun();
    return UIE_NoError;
}
