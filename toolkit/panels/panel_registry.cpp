// Panel windows, their layout and close box, and the handle registry.
#include "toolkit/panels/panel_registry.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QPointer>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/panels/callback_bindings.h"
#include "toolkit/panels/control_widgets.h"
#include "toolkit/panels/dispatch.h"
#include "toolkit/panels/panel_host.h"

namespace {

std::map<int, PanelWidget*>& panels() {
    static std::map<int, PanelWidget*> registry;
    return registry;
}

int nextHandle = 1;

// Windows of discarded panels while a callback runs: one of their widgets may be the
// sender of the click that runs it, or a panel callback of theirs may be the live loop.
std::vector<QPointer<PanelWidget>> discarded;

// Deleted from the event loop, once the click that led here has been handled.
void deleteDiscarded() {
    for (const QPointer<PanelWidget>& window : std::exchange(discarded, {}))
        if (window)
            window->deleteLater();
}

// Controls that take several lines keep their caption at the top, not in the middle.
bool isTall(const ControlDef& def) {
    return def.kind == ControlKind::StripChart ||
           (def.kind == ControlKind::TextBox && def.rows > 1);
}

void connectEvents(const PanelWidget& window, PanelControl* control,
                   const BoundCallback& callback) {
    const UserEventRecord commit{window.handle(),  control->def().id, EVENT_COMMIT,
                                 callback.control, nullptr,           callback.busy};
    QObject::connect(control, &PanelControl::committed, control,
                     [commit] { postUserEvent(commit); });
    UserEventRecord rightClick = commit;
    rightClick.event = EVENT_RIGHT_CLICK;
    control->enableRightClick();
    QObject::connect(control, &PanelControl::rightClicked, control,
                     [rightClick] { postUserEvent(rightClick); });
}

}  // namespace

PanelWidget::PanelWidget(int handle, std::shared_ptr<const ResourceFile> file, const PanelDef& def,
                         PanelCallbackPtr panelCallback)
    : handle_(handle), file_(std::move(file)), def_(def), panelCallback_(panelCallback) {
    setWindowTitle(def.title);
    setAccessibleName(def.title);
    setObjectName(QStringLiteral("panel%1").arg(def.id));
    for (const auto& c : def.controls) {
        PanelControl* control = createControl(c, this);
        controls_[c.id] = control;
        connect(control, &PanelControl::hidePanelRequested, this, &PanelWidget::concealPanel);
    }
    layOut();
}

PanelControl* PanelWidget::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

// The width a control needs in its resource column, caption included.
static int naturalWidth(const ControlDef& def, const PanelControl& c, int gap) {
    const QWidget* w = c.widget();
    const int own = def.kind == ControlKind::TextBox ? w->minimumWidth() : w->sizeHint().width();
    return own + (c.caption() ? c.caption()->sizeHint().width() + gap : 0);
}

// Two grid columns per resource column: the caption, then the control. Controls without
// a caption (buttons, switches, labels) take both. Resource columns come out equally
// wide, so buttons side by side match and captions line up within a column.
void PanelWidget::layOut() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 14, 16, 14);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    const int gap = grid->horizontalSpacing();
    std::map<int, int> captionWidth;
    int widest = 0;
    for (const auto& def : def_.controls) {
        const PanelControl* c = controls_.at(def.id);
        const int row = def.row, col = 2 * def.col;
        if (c->caption()) {
            const Qt::Alignment align =
                Qt::AlignRight | (isTall(def) ? Qt::AlignTop : Qt::AlignVCenter);
            grid->addWidget(c->caption(), row, col, def.rowSpan, 1, align);
            grid->addWidget(c->widget(), row, col + 1, def.rowSpan, 2 * def.colSpan - 1);
        } else {
            // A button that only closes its panel sits at the right, as in a dialog.
            const Qt::Alignment align =
                def.kind == ControlKind::HideButton ? Qt::AlignRight : Qt::Alignment();
            grid->addWidget(c->widget(), row, col, def.rowSpan, 2 * def.colSpan, align);
        }
        int& caption = captionWidth[def.col];
        if (c->caption())
            caption = std::max(caption, c->caption()->sizeHint().width());
        if (def.colSpan == 1)
            widest = std::max(widest, naturalWidth(def, *c, gap));
    }
    for (const auto& [col, caption] : captionWidth) {
        const int first = caption > 0 ? caption : (widest - gap) / 2;
        grid->setColumnMinimumWidth(2 * col, first);
        grid->setColumnMinimumWidth(2 * col + 1, std::max(0, widest - gap - first));
    }
    adjustSize();
}

// The close box never closes a panel by itself: it hides it, presses a button, or tells
// the panel callback, as the resource file says.
void PanelWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    requestClose();
}

void PanelWidget::requestClose() {
    if (def_.onClose == CloseAction::Hide) {
        concealPanel();
    } else if (def_.onClose == CloseAction::PressControl) {
        const PanelControl* c = control(def_.closeControl);
        if (auto* button = qobject_cast<QAbstractButton*>(c ? c->widget() : nullptr))
            button->click();
    }
    if (panelCallback_)
        postUserEvent({handle_, 0, EVENT_CLOSE, nullptr, panelCallback_});
}

void PanelWidget::displayPanel() {
    shown_ = true;
    if (PanelHost* host = CurrentPanelHost(); host && hosted_) {
        host->display(this);
        return;
    }
    show();
    raise();
    activateWindow();
}

void PanelWidget::concealPanel() {
    shown_ = false;
    if (PanelHost* host = CurrentPanelHost(); host && hosted_)
        host->conceal(this);
    else
        hide();
}

bool PanelWidget::isShown() const {
    return hosted_ ? shown_ : isVisible();
}

int createPanel(std::shared_ptr<const ResourceFile> file, const PanelDef& def,
                ResourceError& error) {
    auto unbound = [&](const QString& where, const std::string& name) {
        error.code = UIE_CallbackNotBound;
        error.message = QStringLiteral("%1: %2: callback \"%3\" is not bound")
                            .arg(file->path, where, QString::fromStdString(name))
                            .toStdString();
        return error.code;
    };
    PanelCallbackPtr panelCallback = nullptr;
    if (!def.callback.empty()) {
        const BoundCallback* bound = findBoundCallback(def.callback);
        if (!bound || !bound->panel)
            return unbound(QStringLiteral("panel %1").arg(def.id), def.callback);
        panelCallback = bound->panel;
    }
    std::map<int, const BoundCallback*> controlCallbacks;
    for (const auto& c : def.controls) {
        if (c.callback.empty())
            continue;
        const BoundCallback* bound = findBoundCallback(c.callback);
        if (!bound || !bound->control)
            return unbound(QStringLiteral("panel %1, control %2").arg(def.id).arg(c.id),
                           c.callback);
        controlCallbacks[c.id] = bound;
    }
    const int handle = nextHandle++;
    auto* window = new PanelWidget(handle, std::move(file), def, panelCallback);
    for (const auto& [id, callback] : controlCallbacks)
        connectEvents(*window, window->control(id), *callback);
    panels()[handle] = window;
    if (PanelHost* host = CurrentPanelHost()) {
        window->setHosted();
        host->adopt({window, handle, def.id, def.title, panelCallback != nullptr});
    }
    return handle;
}

PanelWidget* findPanel(int handle) {
    const auto it = panels().find(handle);
    return it == panels().end() ? nullptr : it->second;
}

PanelControl* findControl(int handle, int control, int& code) {
    const PanelWidget* window = findPanel(handle);
    PanelControl* c = window ? window->control(control) : nullptr;
    code = !window ? UIE_InvalidPanel : !c ? UIE_InvalidControl : UIE_NoError;
    return c;
}

void discardPanel(int handle) {
    PanelWidget* window = findPanel(handle);
    if (!window)
        return;
    panels().erase(handle);
    dropQueuedEventsOf(handle);
    window->concealPanel();
    if (PanelHost* host = CurrentPanelHost(); host && window->isHosted())
        host->release(window);
    if (InsideCallback()) {
        discarded.emplace_back(window);
        afterCallbacks(deleteDiscarded);
    } else {
        delete window;
    }
}

void discardAllPanels() {
    while (!panels().empty()) discardPanel(panels().begin()->first);
    if (!InsideCallback() && QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::vector<int> loadedPanelHandles() {
    std::vector<int> handles;
    for (const auto& entry : panels()) handles.push_back(entry.first);
    return handles;
}

void RequestPanelClose(int handle) {
    if (PanelWidget* window = findPanel(handle))
        window->requestClose();
}

QSize largestPanelSize(const std::shared_ptr<const ResourceFile>& file, std::span<const int> skip) {
    QSize largest;
    for (const PanelDef& def : file->panels) {
        if (std::find(skip.begin(), skip.end(), def.id) != skip.end())
            continue;
        const PanelWidget measured(0, file, def, nullptr);
        largest = largest.expandedTo(measured.sizeHint());
    }
    return largest;
}
