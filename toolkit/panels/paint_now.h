// Painting a change before the call that made it returns.
#pragma once

class QElapsedTimer;
class QWidget;

// Lays out and paints `widget` before returning, so the operator sees a change at once,
// even in the middle of a blocking callback.
void paintNow(QWidget* widget);

// For a control that may change hundreds of times a second (a live run's readouts):
// paints at once when `painted` is more than a frame ago, otherwise leaves the change to
// the next window pump, at most a frame later. Restarts `painted` when it paints.
void paintNowOrWithinFrame(QWidget* widget, QElapsedTimer& painted);
