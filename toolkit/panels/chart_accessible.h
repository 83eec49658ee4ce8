// A chart's interface to a screen reader: the Chart role, and one of its texts answered by
// the chart itself whenever a reader asks (the live chart's latest value, the recording
// chart's crosshair), so a read between two repaints is never out of date.
#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLatin1String>

template <typename Chart, QAccessible::Text kText, QString (Chart::*kSays)() const>
class AccessibleChart : public QAccessibleWidget {
  public:
    explicit AccessibleChart(Chart* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}
    QString text(QAccessible::Text t) const override {
        if (t == kText)
            return (static_cast<const Chart*>(widget())->*kSays)();
        return QAccessibleWidget::text(t);
    }

    static QAccessibleInterface* make(const QString& className, QObject* object) {
        if (className == QLatin1String(Chart::staticMetaObject.className()) && object &&
            object->isWidgetType())
            return new AccessibleChart(static_cast<Chart*>(object));
        return nullptr;
    }
    // Once, before anything asks for a chart's interface, which is then kept.
    static void install() {
        static const bool installed = [] {
            QAccessible::installFactory(make);
            return true;
        }();
        Q_UNUSED(installed);
    }
};
