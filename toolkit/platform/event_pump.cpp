// The window pump that every blocking wait runs between its slices.
#include "toolkit/platform/event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

void PumpWindowEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}
