// Immediate painting, for changes made from inside a blocking callback.
#include "toolkit/panels/paint_now.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QWidget>
#include <QWindow>

namespace {
constexpr qint64 kExposeWaitMs = 100;
// A readout that changes faster than this is painted this often: ten times a second is
// more than anyone reads.
constexpr qint64 kReadoutFrameMs = 100;
}  // namespace

void paintNow(QWidget* widget) {
    if (!widget || !widget->isVisible())
        return;
    const QWindow* handle = widget->window()->windowHandle();
    // A window just shown is painted when the platform exposes it, which a window
    // manager may take a few milliseconds to do. Input stays queued meanwhile.
    if (!handle || !handle->isExposed()) {
        constexpr auto kNoInput =
            QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers;
        QElapsedTimer waited;
        waited.start();
        do {
            QCoreApplication::processEvents(kNoInput, 5);
        } while (handle && !handle->isExposed() && waited.elapsed() < kExposeWaitMs);
        return;
    }
    // A control that grew (a longer ring label) resizes the panel first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    widget->repaint();
}

void paintNowOrWithinFrame(QWidget* widget, QElapsedTimer& painted) {
    if (painted.isValid() && painted.elapsed() < kReadoutFrameMs) {
        widget->update();
        return;
    }
    paintNow(widget);
    painted.start();
}
