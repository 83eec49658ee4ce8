// The panel resource file: its parsed form, where a bare file name is found, and the
// cache that parses each file once (again only when the file changes on disk).
//
// Definitions are immutable once parsed and shared: a panel instance keeps the file it
// came from alive, so a re-parse never pulls a definition from under a live panel.
#pragma once

#include <QString>
#include <memory>
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
    int points = 100;            // strip chart: how many it shows
    double ymin = 0, ymax = 10;  // strip chart
    int width = 0, height = 0;   // strip chart, 0 = default size
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
    const PanelDef* panel(int id) const;
};

// A failed lookup or parse: the UIError code and the one line reported for it.
struct ResourceError {
    int code = 0;
    std::string message;
};

// Where `name` is read from: a name with a directory is taken as it stands; a bare name
// is QUORVEL_UIR when that is set, else the first existing file next to the executable,
// in the installed data directory, then in the source tree. Empty when none exists;
// `error` then names the places tried.
QString resolveResourcePath(const char* name, ResourceError& error);

// The parsed file at `path`, parsed at most once per version of the file on disk.
std::shared_ptr<const ResourceFile> loadResourceFile(const QString& path, ResourceError& error);

// Parses resource file text; `path` only names the file in error messages.
std::shared_ptr<const ResourceFile> parseResourceText(const QByteArray& text, const QString& path,
                                                      ResourceError& error);
