#include "toolkit/platform/visible_text.h"

#include <QChar>
#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at `at` and its code point, or 0 when the byte
// there does not start one (a stray continuation, an overlong form, a surrogate).
int sequenceAt(std::string_view text, size_t at, char32_t& code) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int length = 1;
    char32_t least = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (at + static_cast<size_t>(length) > text.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// Characters that may hide or reorder what is shown.
bool isHiding(char32_t code) {
    if (code < 0x80)
        return code < 0x20 || code == 0x7F;
    switch (QChar::category(code)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string VisibleText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    char escape[16];
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const int length = sequenceAt(text, at, code);
        if (length == 0 || (code < 0x80 && code != '\n' && code != '\t' && isHiding(code))) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[at]));
            shown += escape;
            ++at;
            continue;
        }
        if (code >= 0x80 && isHiding(code)) {
            std::snprintf(escape, sizeof escape, "\\u{%04X}", static_cast<unsigned>(code));
            shown += escape;
        } else {
            shown.append(text.substr(at, static_cast<size_t>(length)));
        }
        at += static_cast<size_t>(length);
    }
    return shown;
}

bool IsPlainText(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const int length = sequenceAt(text, at, code);
        if (length == 0 || isHiding(code))
            return false;
        at += static_cast<size_t>(length);
    }
    return true;
}
