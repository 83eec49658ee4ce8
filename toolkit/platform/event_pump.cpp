// The window pump that every blocking wait runs between its slices.
#include "toolkit/platform/event_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <limits>

namespace {
QElapsedTimer pumped;
}

void PumpWindowEvents() {
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    pumped.start();
}

double SecondsSinceWindowsPumped() {
    if (!pumped.isValid())
        return std::numeric_limits<double>::infinity();
    return static_cast<double>(pumped.nsecsElapsed()) * 1e-9;
}
