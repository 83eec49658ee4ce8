// Reads and checks the JSON form of a panel resource file.
//
// {"format": "quorvel-panels/1", "panels": [panel...]}
// panel:   id, title, controls [control...]; optional onClose ("hide" or {"press": <button
//          id>}) and callback (the panel callback's name).
// control: id, kind, label, row, col; optional colspan, rowspan, callback, value; then
//   numeric    dataType int|float|double, min, max; optional step, precision
//   binary     value 0 or 1
//   ring       dataType int|float, items [[value, label]...]; value one of the item values
//   textbox    optional rows, columns, value (the initial text)
//   stripchart points, ymin, ymax; optional width, height (pixels), unit, secondLabel,
//              secondUnit
//   indicator  optional dataType (double only), precision
//   button, hidebutton, label: nothing more (a hidebutton takes no callback)
// Unknown fields are ignored. Labels are the controls' accessible names, so they must be
// unique within a panel; controls must not share a grid cell. The grid has at most 100
// rows and 100 columns: row + rowspan and col + colspan are at most 100.
#include "toolkit/panels/resource_parse.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>

#include "toolkit/panels/types.h"

namespace {

// Far beyond any panel, and small enough that the cell count of the overlap check and the
// layout's column arithmetic stay bounded.
constexpr int kGridLimit = 100;
// Labels and titles are shown in one line; a longer one is a damaged file.
constexpr qsizetype kLongestText = 200;

// Reads typed fields of one JSON object; the first problem is kept in `error`.
class Fields {
  public:
    Fields(const QJsonObject& object, QString where, QString& error)
        : object_(object), where_(std::move(where)), error_(error) {}

    bool has(const char* key) const { return object_.contains(QLatin1String(key)); }

    bool integer(const char* key, int& out, bool required, int least = INT_MIN) {
        const QJsonValue v = object_.value(QLatin1String(key));
        if (v.isUndefined())
            return !required || fail(key, "is missing");
        const double d = v.toDouble(NAN);
        if (!v.isDouble() || d != std::floor(d) || d < least || d > INT_MAX)
            return fail(key, least > INT_MIN ? QStringLiteral("must be an integer >= %1").arg(least)
                                             : QStringLiteral("must be an integer"));
        out = static_cast<int>(d);
        return true;
    }

    bool number(const char* key, double& out, bool required) {
        const QJsonValue v = object_.value(QLatin1String(key));
        if (v.isUndefined())
            return !required || fail(key, "is missing");
        if (!v.isDouble())
            return fail(key, "must be a number");
        out = v.toDouble();
        return true;
    }

    bool string(const char* key, QString& out, bool required) {
        const QJsonValue v = object_.value(QLatin1String(key));
        if (v.isUndefined())
            return !required || fail(key, "is missing");
        if (!v.isString())
            return fail(key, "must be a string");
        out = v.toString();
        const bool shown = qstrcmp(key, "label") == 0 || qstrcmp(key, "title") == 0;
        if (shown && out.size() > kLongestText)
            return fail(key, QStringLiteral("is longer than %1 characters").arg(kLongestText));
        return true;
    }

    bool fail(const char* key, const QString& problem) {
        error_ = QStringLiteral("%1: \"%2\" %3").arg(where_, QLatin1String(key), problem);
        return false;
    }
    bool fail(const QString& problem) {
        error_ = QStringLiteral("%1: %2").arg(where_, problem);
        return false;
    }

  private:
    const QJsonObject& object_;
    QString where_;
    QString& error_;
};

bool parseKind(const QString& name, ControlKind& kind) {
    static const std::pair<const char*, ControlKind> kinds[] = {
        {"numeric", ControlKind::Numeric},
        {"binary", ControlKind::Binary},
        {"ring", ControlKind::Ring},
        {"textbox", ControlKind::TextBox},
        {"stripchart", ControlKind::StripChart},
        {"button", ControlKind::Button},
        {"hidebutton", ControlKind::HideButton},
        {"indicator", ControlKind::Indicator},
        {"label", ControlKind::Label},
    };
    for (const auto& [n, k] : kinds) {
        if (name == QLatin1String(n)) {
            kind = k;
            return true;
        }
    }
    return false;
}

bool parseDataType(Fields& f, const char* allowed[], DataType& out, bool required) {
    QString name;
    if (!f.string("dataType", name, required))
        return false;
    if (name.isEmpty() && !required)
        return true;
    static const std::pair<const char*, DataType> types[] = {
        {"int", DataType::Int}, {"float", DataType::Float}, {"double", DataType::Double}};
    for (int i = 0; allowed[i]; ++i) {
        if (name != QLatin1String(allowed[i]))
            continue;
        for (const auto& [n, t] : types) {
            if (name == QLatin1String(n))
                out = t;
        }
        return true;
    }
    return f.fail("dataType", QStringLiteral("\"%1\" is not allowed here").arg(name));
}

bool parseNumeric(Fields& f, ControlDef& c) {
    static const char* types[] = {"int", "float", "double", nullptr};
    if (!parseDataType(f, types, c.dataType, true) || !f.number("min", c.min, true) ||
        !f.number("max", c.max, true) || !f.number("step", c.step, false) ||
        !f.integer("precision", c.precision, false, 0))
        return false;
    if (c.min > c.max)
        return f.fail("min is above max");
    if (c.step <= 0)
        return f.fail("step", "must be positive");
    if (c.dataType == DataType::Int && (c.min != std::floor(c.min) || c.max != std::floor(c.max)))
        return f.fail("an int control needs integer min and max");
    c.value = c.min;
    if (!f.number("value", c.value, false))
        return false;
    if (c.value < c.min || c.value > c.max)
        return f.fail("value", "is outside min..max");
    if (c.dataType == DataType::Int && c.value != std::floor(c.value))
        return f.fail("value", "must be an integer");
    return true;
}

bool parseRing(Fields& f, const QJsonObject& o, ControlDef& c) {
    static const char* types[] = {"int", "float", nullptr};
    if (!parseDataType(f, types, c.dataType, true))
        return false;
    const QJsonArray items = o.value(QLatin1String("items")).toArray();
    if (items.isEmpty())
        return f.fail("items", "must be a non-empty array");
    for (const auto& entry : items) {
        const QJsonArray pair = entry.toArray();
        if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isString())
            return f.fail("items", "must hold [value, label] pairs");
        if (pair[1].toString().size() > kLongestText)
            return f.fail(
                "items",
                QStringLiteral("hold a label longer than %1 characters").arg(kLongestText));
        const double v = pair[0].toDouble();
        if (c.dataType == DataType::Int && v != std::floor(v))
            return f.fail("items", "of an int ring must have integer values");
        c.items.push_back({v, pair[1].toString()});
    }
    c.value = c.items.front().value;
    if (!f.number("value", c.value, false))
        return false;
    for (const auto& item : c.items) {
        if (item.value == c.value)
            return true;
    }
    return f.fail("value", "is not one of the items");
}

bool parseKindFields(Fields& f, const QJsonObject& o, ControlDef& c) {
    switch (c.kind) {
        case ControlKind::Numeric:
            return parseNumeric(f, c);
        case ControlKind::Ring:
            return parseRing(f, o, c);
        case ControlKind::Binary:
            if (!f.number("value", c.value, false))
                return false;
            return c.value == 0 || c.value == 1 || f.fail("value", "must be 0 or 1");
        case ControlKind::TextBox:
            return f.integer("rows", c.rows, false, 1) &&
                   f.integer("columns", c.columns, false, 1) && f.string("value", c.text, false);
        case ControlKind::StripChart:
            if (!f.integer("points", c.points, true, 2) || !f.number("ymin", c.ymin, true) ||
                !f.number("ymax", c.ymax, true) || !f.integer("width", c.width, false, 0) ||
                !f.integer("height", c.height, false, 0) || !f.string("unit", c.unit, false) ||
                !f.string("secondLabel", c.secondLabel, false) ||
                !f.string("secondUnit", c.secondUnit, false))
                return false;
            return c.ymin <= c.ymax || f.fail("ymin is above ymax");
        case ControlKind::Indicator: {
            static const char* types[] = {"double", nullptr};
            c.dataType = DataType::Double;
            return parseDataType(f, types, c.dataType, false) &&
                   f.integer("precision", c.precision, false, 0) &&
                   f.number("value", c.value, false);
        }
        case ControlKind::HideButton:
            return c.callback.empty() || f.fail("callback", "is not allowed on a hidebutton");
        case ControlKind::Button:
        case ControlKind::Label:
            return true;
    }
    return true;
}

bool parseControl(const QJsonValue& value, int panelId, ControlDef& c, QString& error) {
    const QJsonObject o = value.toObject();
    Fields head(o, QStringLiteral("panel %1").arg(panelId), error);
    if (!value.isObject())
        return head.fail("a control must be an object");
    if (!head.integer("id", c.id, true))
        return false;
    Fields f(o, QStringLiteral("panel %1, control %2").arg(panelId).arg(c.id), error);
    QString kind, callback;
    if (!f.string("kind", kind, true) || !f.string("label", c.label, true) ||
        !f.integer("row", c.row, true, 0) || !f.integer("col", c.col, true, 0) ||
        !f.integer("rowspan", c.rowSpan, false, 1) || !f.integer("colspan", c.colSpan, false, 1) ||
        !f.string("callback", callback, false))
        return false;
    if (int64_t{c.row} + c.rowSpan > kGridLimit || int64_t{c.col} + c.colSpan > kGridLimit)
        return f.fail(
            QStringLiteral("reaches beyond the grid's %1 rows or columns").arg(kGridLimit));
    if (!parseKind(kind, c.kind))
        return f.fail("kind", QStringLiteral("\"%1\" is unknown").arg(kind));
    if (c.label.isEmpty())
        return f.fail("label", "must not be empty");
    c.callback = callback.toStdString();
    return parseKindFields(f, o, c);
}

// Labels name controls for screen readers; two controls may not share one or a cell.
bool checkPanelControls(const PanelDef& p, QString& error) {
    Fields f(QJsonObject(), QStringLiteral("panel %1").arg(p.id), error);
    std::set<int> ids;
    std::set<QString> labels;
    std::set<std::pair<int, int>> cells;
    for (const auto& c : p.controls) {
        if (!ids.insert(c.id).second)
            return f.fail(QStringLiteral("control id %1 is used twice").arg(c.id));
        if (!labels.insert(c.label).second)
            return f.fail(QStringLiteral("label \"%1\" is used twice").arg(c.label));
        for (int r = c.row; r < c.row + c.rowSpan; ++r) {
            for (int col = c.col; col < c.col + c.colSpan; ++col) {
                if (!cells.insert({r, col}).second)
                    return f.fail(QStringLiteral("control %1 overlaps another at row %2, col %3")
                                      .arg(c.id)
                                      .arg(r)
                                      .arg(col));
            }
        }
    }
    if (p.onClose == CloseAction::PressControl) {
        for (const auto& c : p.controls) {
            if (c.id == p.closeControl && c.kind == ControlKind::Button)
                return true;
        }
        return f.fail(
            QStringLiteral("onClose presses %1, which is not a button").arg(p.closeControl));
    }
    return true;
}

bool parseOnClose(const QJsonValue& v, PanelDef& p, Fields& f) {
    if (v.isUndefined())
        return true;
    if (v.isString() && v.toString() == QLatin1String("hide")) {
        p.onClose = CloseAction::Hide;
        return true;
    }
    const double target = v.toObject().value(QLatin1String("press")).toDouble(NAN);
    // An id beyond int is no control's id, and converting it would be undefined.
    if (v.isObject() && target == std::floor(target) && target >= INT_MIN && target <= INT_MAX) {
        p.onClose = CloseAction::PressControl;
        p.closeControl = static_cast<int>(target);
        return true;
    }
    return f.fail("onClose", "must be \"hide\" or {\"press\": <button id>}");
}

bool parsePanel(const QJsonValue& value, PanelDef& p, QString& error) {
    const QJsonObject o = value.toObject();
    Fields head(o, QStringLiteral("panels"), error);
    if (!value.isObject())
        return head.fail("a panel must be an object");
    if (!head.integer("id", p.id, true))
        return false;
    Fields f(o, QStringLiteral("panel %1").arg(p.id), error);
    QString callback;
    if (!f.string("title", p.title, true) || !f.string("callback", callback, false) ||
        !parseOnClose(o.value(QLatin1String("onClose")), p, f))
        return false;
    p.callback = callback.toStdString();
    const QJsonValue controls = o.value(QLatin1String("controls"));
    if (!controls.isArray())
        return f.fail("controls", "must be an array");
    for (const auto& c : controls.toArray()) {
        p.controls.emplace_back();
        if (!parseControl(c, p.id, p.controls.back(), error))
            return false;
    }
    return checkPanelControls(p, error);
}

// The report is one line: a control character quoted from the file (a line break inside a
// kind or a label) would split it, so each becomes a blank.
QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text;
}

}  // namespace

std::shared_ptr<const ResourceFile> parseResourceText(const QByteArray& text, const QString& path,
                                                      ResourceError& error) {
    QString problem;
    auto file = std::make_shared<ResourceFile>();
    file->path = path;
    QJsonParseError jsonError;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &jsonError);
    const QJsonObject root = doc.object();
    if (doc.isNull()) {
        problem = QStringLiteral("not JSON (%1 at offset %2)")
                      .arg(jsonError.errorString())
                      .arg(jsonError.offset);
    } else if (root.value(QLatin1String("format")).toString() !=
               QLatin1String("quorvel-panels/1")) {
        problem = QStringLiteral("\"format\" must be \"quorvel-panels/1\"");
    } else if (!root.value(QLatin1String("panels")).isArray()) {
        problem = QStringLiteral("\"panels\" must be an array");
    } else {
        std::set<int> ids;
        for (const auto& p : root.value(QLatin1String("panels")).toArray()) {
            file->panels.emplace_back();
            if (!parsePanel(p, file->panels.back(), problem))
                break;
            if (!ids.insert(file->panels.back().id).second) {
                problem = QStringLiteral("panel id %1 is used twice").arg(file->panels.back().id);
                break;
            }
        }
    }
    if (problem.isEmpty())
        return file;
    error.code = UIE_ResourceFileMalformed;
    error.message = oneLine(QStringLiteral("%1: malformed: %2").arg(path, problem)).toStdString();
    return nullptr;
}
