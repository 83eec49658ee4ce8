// The parsed form of a panel resource file: panels, their controls and what a failed
// lookup or parse reports.
//
// Definitions are immutable once parsed and shared: a panel instance keeps the file it
// came from alive, so a re-parse never pulls a definition from under a live panel.
#pragma once

#include <QString>
#include <string>
#include <vector>

enum class ControlKind {
    Numeric,
    Binary,
    Ring,
    TextBox,
    StripChart,
    Button,
    HideButton,
    Indicator,
    Label
};
enum class DataType { None, Int, Float, Double };

struct RingItem {
    double value = 0;
    QString label;
};

struct ControlDef {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    QString label;
    int row = 0, col = 0, rowSpan = 1, colSpan = 1;
    std::string callback;  // empty: none

    DataType dataType = DataType::None;
    double min = 0, max = 0, step = 1;
    int precision = 2;
    double value = 0;  // initial value of numeric, binary, ring and indicator
    QString text;      // initial text of a text box
    std::vector<RingItem> items;
    int rows = 1, columns = 30;  // text box
    int points = 100;            // strip chart: the latest points kept at full resolution
    double ymin = 0, ymax = 10;  // strip chart
    int width = 0, height = 0;   // strip chart, 0 = default size
    QString unit;                // strip chart: unit of its values, empty: none
    QString secondLabel;         // strip chart: name of a second value, if records bring one
    QString secondUnit;
};

enum class CloseAction { Ignore, Hide, PressControl };

struct PanelDef {
    int id = 0;
    QString title;
    CloseAction onClose = CloseAction::Ignore;
    int closeControl = 0;  // the button a close acts as, for PressControl
    std::string callback;  // panel callback, empty: none
    std::vector<ControlDef> controls;
};

struct ResourceFile {
    QString path;
    std::vector<PanelDef> panels;

    const PanelDef* panel(int id) const {
        for (const auto& p : panels) {
            if (p.id == id)
                return &p;
        }
        return nullptr;
    }
};

// A failed lookup or parse: the UIError code and the one line reported for it.
struct ResourceError {
    int code = 0;
    std::string message;
};
