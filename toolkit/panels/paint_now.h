// Painting a change before the call that made it returns.
#pragma once

class QWidget;

// Lays out and paints `widget` before returning, so the operator sees a change at once,
// even in the middle of a blocking callback.
void paintNow(QWidget* widget);
