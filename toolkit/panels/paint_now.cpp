// Immediate painting, for changes made from inside a blocking callback.
#include "toolkit/panels/paint_now.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QWidget>
#include <QWindow>

namespace {
constexpr qint64 kExposeWaitMs = 100;
}

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
