#include "tests/harness/accessibility_client.h"

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QAccessible>
#include <QCoreApplication>
#include <algorithm>
#include <string>

#include "tests/harness/failures.h"

namespace {

AccessibilityClient* active = nullptr;
unsigned long generation = 0;  // tells a walk posted for an earlier client from ours

constexpr int kDeepest = 64;

// Qt warns when a reader asks for a cell, a row or an offset that is not there, as this
// client does on purpose; those warnings say nothing about the tool.
QtMessageHandler passedOn = nullptr;
void quietAboutStaleQuestions(QtMsgType type, const QMessageLogContext& context,
                              const QString& text) {
    if (type == QtWarningMsg && (text.startsWith(QLatin1String("QAccessibleTable")) ||
                                 text.startsWith(QLatin1String("QAccessibleTree")) ||
                                 text.startsWith(QLatin1String("Requested invalid tree cell")) ||
                                 text.startsWith(QLatin1String("QTextCursor::setPosition"))))
        return;
    if (passedOn)
        passedOn(type, context, text);
}

void setAccessibilityActive(bool on) {
    if (QPlatformIntegration* platform = QGuiApplicationPrivate::platformIntegration())
        if (QPlatformAccessibility* accessibility = platform->accessibility())
            accessibility->setActive(on);
}

std::string describe(QAccessibleInterface* iface) {
    std::string what = iface->object() ? iface->object()->metaObject()->className() : "item";
    return what + " \"" + iface->text(QAccessible::Name).toStdString() + "\"";
}

void readText(QAccessibleTextInterface* text) {
    const int count = text->characterCount();
    text->text(0, count);
    text->cursorPosition();
    for (int i = 0; i < text->selectionCount(); ++i) {
        int start = 0, end = 0;
        text->selection(i, &start, &end);
    }
    if (count > 0) {
        int start = 0, end = 0;
        text->textAtOffset(count - 1, QAccessible::WordBoundary, &start, &end);
        text->characterRect(0);
        text->attributes(0, &start, &end);
    }
    // A reader with a stale length asks past the end.
    int start = 0, end = 0;
    text->textAtOffset(count + 3, QAccessible::CharBoundary, &start, &end);
}

void readTable(QAccessibleInterface* iface, QAccessibleTableInterface* table) {
    const int rows = table->rowCount();
    const int columns = table->columnCount();
    table->selectedCellCount();
    if (rows > 0 && columns > 0) {
        if (QAccessibleInterface* cell = table->cellAt(0, 0))
            cell->text(QAccessible::Name);
        table->columnDescription(0);
        table->rowDescription(0);
    }
    if (table->cellAt(rows, columns))
        reportHarnessFailure(describe(iface) + " hands out a cell beyond its rows and columns");
}

// Not the header cells: Qt makes up a new one at every call and never deletes it.
void readCell(QAccessibleTableCellInterface* cell) {
    cell->rowIndex();
    cell->columnIndex();
    cell->isSelected();
    if (QAccessibleInterface* table = cell->table())
        table->role();
}

}  // namespace

AccessibilityClient::AccessibilityClient() {
    active = this;
    ++generation;
    QAccessible::installUpdateHandler(&AccessibilityClient::onUpdate);
    setAccessibilityActive(true);
}

AccessibilityClient::~AccessibilityClient() {
    setAccessibilityActive(false);
    QAccessible::installUpdateHandler(nullptr);
    active = nullptr;
    ++generation;
}

// The bridge reads what an update is about at once; everything else arrives with the
// reader's calls, later.
void AccessibilityClient::onUpdate(QAccessibleEvent* event) {
    if (!active)
        return;
    ++active->updates_;
    if (event->type() != QAccessible::ObjectDestroyed) {
        QAccessibleInterface* iface = event->accessibleInterface();
        if (iface && iface->isValid()) {
            iface->role();
            iface->text(QAccessible::Name);
            iface->state();
        }
    }
    active->walkSoon();
}

void AccessibilityClient::walkSoon() {
    if (walkPending_)
        return;
    walkPending_ = true;
    const unsigned long mine = generation;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [mine] {
            if (active && generation == mine) {
                active->walkPending_ = false;
                active->walk();
            }
        },
        Qt::QueuedConnection);
}

int AccessibilityClient::walk() {
    if (walking_)
        return lastCount_;
    walking_ = true;
    met_.clear();
    passedOn = qInstallMessageHandler(quietAboutStaleQuestions);
    read(QAccessible::queryAccessibleInterface(QCoreApplication::instance()), 0);
    qInstallMessageHandler(passedOn);
    // Objects gone since keep no count: the client's memory stays level, as a reader's.
    std::erase_if(childCounts_, [this](const auto& entry) { return !met_.count(entry.first); });
    lastCount_ = static_cast<int>(met_.size());
    ++walks_;
    walking_ = false;
    return lastCount_;
}

void AccessibilityClient::read(QAccessibleInterface* iface, int depth) {
    if (!iface || !iface->isValid() || depth > kDeepest)
        return;
    const unsigned id = QAccessible::uniqueId(iface);
    if (!met_.insert(id).second)
        return;
    readOne(iface);
    const int count = iface->childCount();
    int& seen = childCounts_[id];
    // One index past any count seen, as a reader whose cache is a step behind asks.
    const int asked = std::max(count, seen) + 1;
    seen = count;
    for (int i = 0; i < asked; ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (i >= count) {
            // A table makes up a header cell for any index, but an invalid one, which
            // reaches no reader.
            if (child && child->isValid())
                reportHarnessFailure(describe(iface) + " hands out a child at index " +
                                     std::to_string(i) + " of " + std::to_string(count));
            continue;
        }
        if (!child)
            continue;
        if (QAccessibleInterface* parent = child->parent())
            parent->indexOfChild(child);
        read(child, depth + 1);
    }
}

void AccessibilityClient::readOne(QAccessibleInterface* iface) {
    iface->role();
    for (const auto t : {QAccessible::Name, QAccessible::Description, QAccessible::Value,
                         QAccessible::Help, QAccessible::Accelerator})
        iface->text(t);
    iface->state();
    iface->rect();
    iface->focusChild();
    for (const auto& [related, relation] : iface->relations())
        if (related)
            related->text(QAccessible::Name);
    if (QAccessibleActionInterface* actions = iface->actionInterface()) {
        for (const QString& name : actions->actionNames()) {
            actions->localizedActionDescription(name);
            actions->keyBindingsForAction(name);
        }
    }
    if (QAccessibleValueInterface* value = iface->valueInterface()) {
        value->currentValue();
        value->minimumValue();
        value->maximumValue();
    }
    if (QAccessibleTextInterface* text = iface->textInterface())
        readText(text);
    if (QAccessibleTableInterface* table = iface->tableInterface())
        readTable(iface, table);
    if (QAccessibleTableCellInterface* cell = iface->tableCellInterface())
        readCell(cell);
}
