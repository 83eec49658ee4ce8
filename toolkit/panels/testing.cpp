// What tests reach below the panel interface: widgets and data behind handles.
#include "toolkit/panels/testing.h"

#include <QCoreApplication>

#include "toolkit/panels/control_widgets.h"
#include "toolkit/panels/dispatch.h"
#include "toolkit/panels/main_window.h"
#include "toolkit/panels/message_pane.h"
#include "toolkit/panels/navigation_bar.h"
#include "toolkit/panels/panel_registry.h"
#include "toolkit/panels/quit_request.h"
#include "toolkit/panels/resource_file.h"
#include "toolkit/panels/shell_status_bar.h"
#include "toolkit/panels/strip_chart.h"
#include "toolkit/panels/text_box.h"

namespace {

template <typename Kind>
Kind* controlOf(int panel, int control) {
    int code = 0;
    return qobject_cast<Kind*>(findControl(panel, control, code));
}

}  // namespace

QWidget* PanelWindow(int panel) {
    return findPanel(panel);
}

QWidget* ControlWidget(int panel, int control) {
    int code = 0;
    const PanelControl* c = findControl(panel, control, code);
    return c ? c->widget() : nullptr;
}

int PanelResourceId(int panel) {
    const PanelWidget* window = findPanel(panel);
    return window ? window->resourceId() : UIE_InvalidPanel;
}

bool IsPanelVisible(int panel) {
    const PanelWidget* window = findPanel(panel);
    return window && window->isShown();
}

std::vector<int> LoadedPanels() {
    return loadedPanelHandles();
}

std::vector<std::string> TextBoxLines(int panel, int control) {
    const auto* box = controlOf<TextBoxControl>(panel, control);
    return box ? box->lines() : std::vector<std::string>{};
}

std::vector<double> StripChartPoints(int panel, int control) {
    const auto* c = controlOf<StripChartControl>(panel, control);
    if (!c)
        return {};
    return c->chart()->points();
}

void StripChartYRange(int panel, int control, double& ymin, double& ymax) {
    const auto* c = controlOf<StripChartControl>(panel, control);
    ymin = c ? c->chart()->ymin() : 0.0;
    ymax = c ? c->chart()->ymax() : 0.0;
}

StripChart* StripChartWidget(int panel, int control) {
    const auto* c = controlOf<StripChartControl>(panel, control);
    return c ? c->chart() : nullptr;
}

std::string ResolvedResourcePath(const char* resourceFile) {
    return lastResolvedPath(resourceFile);
}

bool QuitRequested(int* code) {
    const auto quit = pendingQuit();
    if (quit && code)
        *code = *quit;
    return quit.has_value();
}

std::string ShellStatusField(StatusField field) {
    const MainWindow* w = CurrentMainWindow();
    return w ? w->shellStatus()->field(field).toStdString() : std::string();
}

std::string ShellBusyText() {
    const MainWindow* w = CurrentMainWindow();
    return w ? w->shellStatus()->busyText().toStdString() : std::string();
}

std::string ShellMessageHint() {
    const MainWindow* w = CurrentMainWindow();
    return w ? w->messagePane()->hint().toStdString() : std::string();
}

std::string ShellPlaceholderLine() {
    const MainWindow* w = CurrentMainWindow();
    return w ? w->placeholderLine().toStdString() : std::string();
}

std::string ShellMarkedEntry() {
    const MainWindow* w = CurrentMainWindow();
    return w ? w->navigationBar()->marked().toStdString() : std::string();
}

bool PressShellEntry(const std::string& label) {
    MainWindow* w = CurrentMainWindow();
    const bool pressed = w && w->navigationBar()->press(QString::fromStdString(label));
    DeleteDiscardedPanels();
    return pressed;
}

void DeleteDiscardedPanels() {
    if (!InsideCallback())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
