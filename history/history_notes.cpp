#include "history/history_notes.h"

#include <cctype>

#include "history/history_lines.h"
#include "toolkit/platform/utility.h"

namespace {

constexpr size_t kHeadFields = 5;  // time, kind, "note", serial number, port

// The head fields are our own words or come from the line; shown safely either way.
std::string plain(const std::string& field) {
    const std::string text = field.empty() ? std::string("-") : field;
    return IsPlainText(text) ? text : VisibleText(text);
}

}  // namespace

std::string HistoryNote::fact(std::string_view name) const {
    for (const auto& [key, value] : facts)
        if (key == name)
            return value;
    return {};
}

std::string escapeNoteText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    static constexpr char kHex[] = "0123456789abcdef";
                    escaped += "\\x";
                    escaped += kHex[(c >> 4) & 0xF];
                    escaped += kHex[c & 0xF];
                } else {
                    escaped += c;
                }
        }
    }
    // Text that is no valid UTF-8 is kept as it would be shown, so the line reads back.
    return IsPlainText(escaped) ? escaped : VisibleText(escaped);
}

std::string unescapeNoteText(std::string_view text) {
    std::string plainText;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plainText += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == 'x' && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            plainText +=
                static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
            continue;
        }
        plainText += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return plainText;
}

std::string formatNoteLine(const HistoryNote& note) {
    std::string line = plain(note.time) + '\t' + plain(note.kind) + '\t' + kNoteStage + '\t' +
                       plain(note.serialNumber) + '\t' + plain(note.port);
    for (const auto& [name, value] : note.facts)
        line += '\t' + escapeNoteText(name) + '=' + escapeNoteText(value);
    return line + '\n';
}

bool parseNoteLine(std::string_view line, HistoryNote& note) {
    std::vector<std::string_view> fields;
    for (size_t from = 0;;) {
        const size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
        if (tab == std::string_view::npos)
            break;
        from = tab + 1;
    }
    if (fields.size() < kHeadFields || fields[2] != kNoteStage || !isHistoryTime(fields[0]))
        return false;
    for (const std::string_view field : fields)
        if (!IsPlainText(field))
            return false;
    HistoryNote read;
    read.time = fields[0];
    read.kind = fields[1];
    read.serialNumber = fields[3];
    read.port = fields[4];
    for (size_t i = kHeadFields; i < fields.size(); ++i) {
        const size_t equals = fields[i].find('=');
        if (equals == std::string_view::npos)
            return false;
        read.facts.emplace_back(unescapeNoteText(fields[i].substr(0, equals)),
                                unescapeNoteText(fields[i].substr(equals + 1)));
    }
    read.line = note.line;
    note = std::move(read);
    return true;
}
