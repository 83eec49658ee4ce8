// What the operator does to the strip chart with the mouse and the keyboard: zoom by the
// wheel or a dragged rectangle, the crosshair, pause and the keys that move the view.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpacerItem>
#include <QWheelEvent>
#include <cmath>

#include "toolkit/panels/chart_zoom.h"
#include "toolkit/panels/strip_chart.h"

void StripChart::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    if (!plotRect().contains(at) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    const double factor = wheelZoomFactor(event->angleDelta().y());
    View v = currentView();
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        const double y = valueAt(at.y());
        v.y0 = y - (y - v.y0) * factor;
        v.y1 = y + (v.y1 - y) * factor;
    } else {
        const double t = timeAt(at.x());
        v.t0 = t - (t - v.t0) * factor;
        v.t1 = t + (v.t1 - t) * factor;
    }
    holdView(v);
    event->accept();
}

void StripChart::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && plotRect().contains(event->position())) {
        bandStart_ = event->position();
        bandEnd_ = event->position();
    } else if (event->button() == Qt::RightButton) {
        resetZoom();
    }
}

void StripChart::mouseMoveEvent(QMouseEvent* event) {
    if (bandStart_)
        bandEnd_ = event->position();
    crosshair_ = event->position();
    refreshReadout();
    update(plotArea_->geometry());
}

void StripChart::mouseReleaseEvent(QMouseEvent* event) {
    if (!bandStart_ || event->button() != Qt::LeftButton)
        return;
    const auto band = zoomBand(*bandStart_, event->position(), plotRect());
    bandStart_.reset();
    if (band)
        holdView({timeAt(band->left()), timeAt(band->right()), valueAt(band->bottom()),
                  valueAt(band->top())});
    update();
}

void StripChart::leaveEvent(QEvent*) {
    crosshair_.reset();
    refreshReadout();
    update(plotArea_->geometry());
}

// Space pauses and resumes, + and - zoom the time shown, the arrows move along it,
// Escape undoes the zoom.
void StripChart::keyPressEvent(QKeyEvent* event) {
    View v = currentView();
    const double span = v.t1 - v.t0;
    const double middle = (v.t0 + v.t1) / 2;
    switch (event->key()) {
        case Qt::Key_Space:
            setPaused(!paused_);
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            holdView({middle - span * kKeyZoom / 2, middle + span * kKeyZoom / 2, v.y0, v.y1});
            return;
        case Qt::Key_Minus:
            holdView({middle - span / kKeyZoom / 2, middle + span / kKeyZoom / 2, v.y0, v.y1});
            return;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const double shift = (event->key() == Qt::Key_Left ? -kKeyPan : kKeyPan) * span;
            holdView({v.t0 + shift, v.t1 + shift, v.y0, v.y1});
            return;
        }
        case Qt::Key_Escape:
            if (zoom_) {
                resetZoom();
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}
