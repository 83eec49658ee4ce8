// What the operator does to the recording chart with the mouse and the keys: the same as
// on the live chart (zoom by the wheel, + and - or a dragged rectangle, move with the
// arrows, the whole again by a right click or Escape), and the crosshair from record to
// record with Shift and the arrows, Home and End.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpacerItem>
#include <QWheelEvent>
#include <cmath>

#include "toolkit/panels/recording_chart.h"

void RecordingChart::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    if (!plotRect().contains(at) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    const double factor = wheelZoomFactor(event->angleDelta().y());
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
        zoom_.zoomValue(valueAt(at.y()), factor);
    else
        zoom_.zoomTime(timeAt(at.x()), factor);
    viewMoved();
    event->accept();
}

void RecordingChart::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && plotRect().contains(event->position())) {
        bandStart_ = event->position();
        bandEnd_ = event->position();
    } else if (event->button() == Qt::RightButton) {
        resetZoom();
    }
}

void RecordingChart::mouseMoveEvent(QMouseEvent* event) {
    if (bandStart_)
        bandEnd_ = event->position();
    showCrosshairAt(event->position());
}

void RecordingChart::mouseReleaseEvent(QMouseEvent* event) {
    if (!bandStart_ || event->button() != Qt::LeftButton)
        return;
    const auto band = zoomBand(*bandStart_, event->position(), plotRect());
    bandStart_.reset();
    if (band)
        zoomTo({timeAt(band->left()), timeAt(band->right()), valueAt(band->bottom()),
                valueAt(band->top())});
    update();
}

void RecordingChart::leaveEvent(QEvent*) {
    if (!pointerTime_ && !crosshair_)
        return;
    pointerTime_.reset();
    refreshCrosshair();
    update();
}

void RecordingChart::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const ChartView& v = zoom_.view();
    const double middle = (v.t0 + v.t1) / 2;
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoom_.zoomTime(middle, kKeyZoom);
            viewMoved();
            return;
        case Qt::Key_Minus:
            zoom_.zoomTime(middle, 1 / kKeyZoom);
            viewMoved();
            return;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const int direction = event->key() == Qt::Key_Left ? -1 : 1;
            if (shift) {
                stepCrosshair(direction);
            } else {
                zoom_.pan(direction * kKeyPan);
                viewMoved();
            }
            return;
        }
        case Qt::Key_Home:
        case Qt::Key_End:
            if (series_ && series_->size() > 0) {
                crosshair_.reset();
                stepCrosshair(event->key() == Qt::Key_Home ? 1 : -1);
            }
            return;
        case Qt::Key_Escape:
            if (zoom_.zoomed()) {
                resetZoom();
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}
