// Fuzzes the panel resource loader: arbitrary bytes as the resource file text. Every text
// either gives a file that holds what the loader promises, or is refused with the one
// malformed line; none may crash, hang or read out of bounds. Parsing uses QJson only and
// needs no QApplication.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <set>
#include <string>

#include "fuzz/fuzz_check.h"
#include "toolkit/panels/resource_parse.h"
#include "toolkit/panels/userint.h"

namespace {

// Two controls' grid rectangles, in 64-bit so that no span can overflow the comparison.
bool overlap(const ControlDef& a, const ControlDef& b) {
    const int64_t aRowEnd = int64_t{a.row} + a.rowSpan, aColEnd = int64_t{a.col} + a.colSpan;
    const int64_t bRowEnd = int64_t{b.row} + b.rowSpan, bColEnd = int64_t{b.col} + b.colSpan;
    return a.row < bRowEnd && b.row < aRowEnd && a.col < bColEnd && b.col < aColEnd;
}

void checkControl(const ControlDef& c) {
    FUZZ_CHECK(!c.label.isEmpty());
    FUZZ_CHECK(c.row >= 0 && c.col >= 0 && c.rowSpan >= 1 && c.colSpan >= 1);
    switch (c.kind) {
        case ControlKind::Numeric:
            FUZZ_CHECK(c.min <= c.max && c.step > 0);
            FUZZ_CHECK(c.value >= c.min && c.value <= c.max);
            FUZZ_CHECK(c.dataType != DataType::None && c.precision >= 0);
            break;
        case ControlKind::Ring: {
            FUZZ_CHECK(!c.items.empty());
            bool found = false;
            for (const auto& item : c.items) found = found || item.value == c.value;
            FUZZ_CHECK(found);
            break;
        }
        case ControlKind::Binary:
            FUZZ_CHECK(c.value == 0 || c.value == 1);
            break;
        case ControlKind::TextBox:
            FUZZ_CHECK(c.rows >= 1 && c.columns >= 1);
            break;
        case ControlKind::StripChart:
            FUZZ_CHECK(c.points >= 2 && c.ymin <= c.ymax && c.width >= 0 && c.height >= 0);
            break;
        case ControlKind::HideButton:
            FUZZ_CHECK(c.callback.empty());
            break;
        default:
            break;
    }
}

void checkFile(const ResourceFile& file) {
    std::set<int> panelIds;
    for (const PanelDef& p : file.panels) {
        FUZZ_CHECK(panelIds.insert(p.id).second);
        FUZZ_CHECK(file.panel(p.id) == &p);
        std::set<int> ids;
        std::set<QString> labels;
        bool closeIsButton = false;
        for (size_t i = 0; i < p.controls.size(); ++i) {
            const ControlDef& c = p.controls[i];
            checkControl(c);
            FUZZ_CHECK(ids.insert(c.id).second && labels.insert(c.label).second);
            for (size_t j = 0; j < i; ++j) FUZZ_CHECK(!overlap(c, p.controls[j]));
            closeIsButton =
                closeIsButton || (c.id == p.closeControl && c.kind == ControlKind::Button);
        }
        if (p.onClose == CloseAction::PressControl)
            FUZZ_CHECK(closeIsButton);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ResourceError error;
    const auto file = parseResourceText(text, QStringLiteral("fuzz.uir"), error);
    if (file) {
        FUZZ_CHECK(error.code == 0 && error.message.empty());
        checkFile(*file);
    } else {
        FUZZ_CHECK(error.code == UIE_ResourceFileMalformed);
        FUZZ_CHECK(error.message.rfind("fuzz.uir: malformed: ", 0) == 0);
        FUZZ_CHECK(error.message.find('\n') == std::string::npos);
    }
    return 0;
}
