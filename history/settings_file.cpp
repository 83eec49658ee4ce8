#include "history/settings_file.h"

#include <QFile>
#include <QSaveFile>
#include <cctype>
#include <map>
#include <optional>

#include "history/history_lines.h"
#include "link/block_fields.h"
#include "link/parameter_block.h"
#include "toolkit/platform/file_system.h"
#include "toolkit/platform/visible_text.h"

namespace {

// The header's lines, in the order a file is written.
constexpr const char* kFormatKey = "format";
constexpr const char* kToolKey = "tool";
constexpr const char* kSavedKey = "saved";
constexpr const char* kSerialKey = "serial number";
constexpr const char* kPortKey = "port";
constexpr const char* kFromKey = "from";
constexpr const char* kTextKey = "block text";
constexpr const char* kChecksumKey = "checksum";
constexpr const char* kHeaderKeys[] = {kToolKey, kSavedKey, kSerialKey, kPortKey, kFromKey};

// A header value on one line, whatever the instrument or the port gave.
std::string oneLine(const std::string& value) {
    return IsPlainText(value) ? value : VisibleText(value);
}

// A piece of the file inside a reason: at most 60 bytes, on one line, nothing hidden.
std::string inQuotes(std::string_view text) {
    std::string shown;
    for (const char c : VisibleText(text.substr(0, 60)))
        shown += c == '\t' ? std::string("\\t") : std::string(1, c);
    return "\"" + shown + (text.size() > 60 ? "…" : "") + "\"";
}

struct Refusal {
    long long line;
    std::string reason;
};

// The lines of a file by name, each with its line number. Names are read as `set` reads
// them (fieldNameKey): "Setting_Byte_7" is the line "setting byte 7".
using FileLine = std::pair<long long, std::string>;
using FileLines = std::map<std::string, FileLine, std::less<>>;

const FileLine* lineNamed(const FileLines& lines, std::string_view name) {
    const auto it = lines.find(fieldNameKey(name));
    return it == lines.end() ? nullptr : &it->second;
}

bool knownName(std::string_view name) {
    const std::string key = fieldNameKey(name);
    for (const char* header : kHeaderKeys)
        if (key == header)
            return true;
    if (key == kTextKey || key == kChecksumKey)
        return true;
    for (const BlockFieldView& field : blockFieldViews())
        if (key == fieldNameKey(field.name))
            return true;
    return false;
}

// The Unicode encodings other than UTF-8 by their byte-order mark, or, without one, by the
// zero bytes that ASCII text ("format: ...") has in them; nullptr for anything else.
const char* otherUnicodeEncoding(std::string_view content) {
    const auto starts = [&](std::string_view prefix) { return content.starts_with(prefix); };
    using namespace std::string_view_literals;
    if (starts("\xFF\xFE\0\0"sv))
        return "UTF-32 (little-endian)";
    if (starts("\0\0\xFE\xFF"sv))
        return "UTF-32 (big-endian)";
    if (starts("\xFF\xFE"sv))
        return "UTF-16 (little-endian)";
    if (starts("\xFE\xFF"sv))
        return "UTF-16 (big-endian)";
    if (content.size() < 4)
        return nullptr;
    const auto zero = [&](size_t i) { return content[i] == '\0'; };
    if (!zero(0) && zero(1) && zero(2) && zero(3))
        return "UTF-32 (little-endian)";
    if (zero(0) && zero(1) && zero(2) && !zero(3))
        return "UTF-32 (big-endian)";
    if (!zero(0) && zero(1) && !zero(2) && zero(3))
        return "UTF-16 (little-endian)";
    if (zero(0) && !zero(1) && zero(2) && !zero(3))
        return "UTF-16 (big-endian)";
    return nullptr;
}

// The fields the instrument must be able to take back as they stand in the file.
std::optional<std::string> settingOutOfRange(const char* text) {
    for (const BlockFieldView& field : blockFieldViews()) {
        if (!field.settable() || field.setting.mask != 0)
            continue;
        const int value = getBlockByte(text, field.setting.byte);
        if (value > field.setting.max)
            return std::string(field.name) + " holds " + std::to_string(value) +
                   " in the block text; the instrument takes " + fieldValueRange(field);
    }
    return std::nullopt;
}

// Once every line is read: the block text, its checksum and each field against it.
std::optional<Refusal> checkBlock(const FileLines& lines, long long lastLine, SettingsFile& file) {
    const auto missing = [&](const std::string& what) {
        return Refusal{lastLine, "the file ends without " + what};
    };
    for (const char* key : kHeaderKeys)
        if (!lineNamed(lines, key))
            return missing("the header line \"" + std::string(key) + ": …\"");
    const auto* text = lineNamed(lines, kTextKey);
    if (!text)
        return missing("the block text");
    if (!isBlockText(text->second))
        return Refusal{text->first,
                       "the block text is not 43 bytes of two hex digits, each followed by a "
                       "comma"};
    file.text = text->second;
    const auto* checksum = lineNamed(lines, kChecksumKey);
    if (!checksum)
        return missing("the checksum");
    const std::string expected = blockTextChecksumDigits(file.text.c_str());
    std::string given = checksum->second;
    for (char& c : given) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (given != expected)
        return Refusal{checksum->first, "the checksum " + inQuotes(checksum->second) +
                                            " does not match the block text, whose checksum is " +
                                            expected};
    for (const BlockFieldView& field : blockFieldViews()) {
        const auto* line = lineNamed(lines, field.name);
        if (!line)
            return missing("the field \"" + std::string(field.name) + "\"");
        const std::string held = field.show(file.text.c_str());
        if (line->second != held)
            return Refusal{line->first, std::string(field.name) + " is " + inQuotes(line->second) +
                                            " here, but the block text holds " + inQuotes(held)};
    }
    if (const auto problem = settingOutOfRange(file.text.c_str()))
        return Refusal{text->first, *problem};
    return std::nullopt;
}

SettingsFileRead refused(const Refusal& refusal) {
    SettingsFileRead read;
    read.line = refusal.line;
    read.reason = refusal.reason;
    return read;
}

}  // namespace

std::string formatSettingsFile(const SettingsFile& file) {
    const char* text = file.text.c_str();
    std::string out = std::string(kFormatKey) + ": " + kSettingsFileFormat + "\n";
    const std::string header[] = {file.tool, file.saved, file.serialNumber, file.port, file.from};
    for (size_t i = 0; i < std::size(kHeaderKeys); ++i)
        out += std::string(kHeaderKeys[i]) + ": " + oneLine(header[i]) + "\n";
    for (const BlockFieldView& field : blockFieldViews())
        out += std::string(field.name) + ": " + field.show(text) + "\n";
    out += std::string(kTextKey) + ": " + file.text.substr(0, kBlockTextLength) + "\n";
    out += std::string(kChecksumKey) + ": " + blockTextChecksumDigits(text) + "\n";
    return out;
}

std::string saveSettingsFile(const std::string& path, const SettingsFile& file) {
    const PathKind kind = GetPathKind(path.c_str());
    if (kind != PathKind::Absent && kind != PathKind::Regular)
        return path + " is " + PathKindWords(kind);
    QSaveFile out(QString::fromStdString(path));
    const std::string content = formatSettingsFile(file);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(content.data(), static_cast<qint64>(content.size())) !=
            static_cast<qint64>(content.size()) ||
        !out.commit())
        return "cannot write " + path + ": " + out.errorString().toStdString();
    return {};
}

SettingsFileRead parseSettingsFile(std::string_view content) {
    if (const char* encoding = otherUnicodeEncoding(content))
        return refused({0, std::string("it is encoded as ") + encoding +
                               "; a settings file is UTF-8 text (save it as UTF-8 and try again)"});
    if (content.starts_with("\xEF\xBB\xBF"))  // a byte-order mark some editors put first
        content.remove_prefix(3);
    FileLines lines;
    bool formatSeen = false;
    long long number = 0;
    while (!content.empty()) {
        const size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty() || line.starts_with('#'))
            continue;
        if (!IsPlainText(line))
            return refused({number, "the line " + inQuotes(line) +
                                        " holds characters that are not "
                                        "plain text"});
        const size_t colon = line.find(": ");
        const std::string_view name = line.substr(0, colon);
        const std::string_view value =
            colon == std::string_view::npos ? std::string_view() : line.substr(colon + 2);
        if (!formatSeen) {
            if (colon == std::string_view::npos || fieldNameKey(name) != kFormatKey)
                return refused({number, "not a settings file: it begins with " + inQuotes(line) +
                                            ", not \"format: " + kSettingsFileFormat + "\""});
            if (value != kSettingsFileFormat)
                return refused({number, "the format " + inQuotes(value) +
                                            " is not one this tool reads (it reads " +
                                            kSettingsFileFormat + ")"});
            formatSeen = true;
            continue;
        }
        if (colon == std::string_view::npos)
            return refused({number, "the line " + inQuotes(line) +
                                        " is not understood: each line reads NAME: VALUE"});
        if (!knownName(name))
            return refused({number, "the line " + inQuotes(line) +
                                        " is not understood: no field "
                                        "or header line is called " +
                                        inQuotes(name)});
        if (const FileLine* first = lineNamed(lines, name))
            return refused({number, inQuotes(name) + " is given twice (first on line " +
                                        std::to_string(first->first) + ")"});
        lines.emplace(fieldNameKey(name), FileLine{number, std::string(value)});
    }
    if (!formatSeen)
        return refused({1, std::string("not a settings file: it holds no line \"format: ") +
                               kSettingsFileFormat + "\""});
    SettingsFileRead read;
    if (const auto problem = checkBlock(lines, number, read.file))
        return refused(*problem);
    read.file.tool = lineNamed(lines, kToolKey)->second;
    read.file.saved = lineNamed(lines, kSavedKey)->second;
    read.file.serialNumber = lineNamed(lines, kSerialKey)->second;
    read.file.port = lineNamed(lines, kPortKey)->second;
    read.file.from = lineNamed(lines, kFromKey)->second;
    read.ok = true;
    return read;
}

SettingsFileRead readSettingsFile(const std::string& path) {
    SettingsFileRead read;
    const PathKind kind = GetPathKind(path.c_str());
    if (kind == PathKind::Absent) {
        read.reason = "there is no such file";
        return read;
    }
    if (kind != PathKind::Regular) {
        read.reason = std::string("it is ") + PathKindWords(kind);
        return read;
    }
    QFile in(QString::fromStdString(path));
    if (!in.open(QIODevice::ReadOnly)) {
        read.reason = in.errorString().toStdString();
        return read;
    }
    if (in.size() > kSettingsFileMostBytes) {
        read.reason = "it holds " + std::to_string(in.size()) +
                      " bytes, more than any settings file (" +
                      std::to_string(kSettingsFileMostBytes) + ")";
        return read;
    }
    const QByteArray content = in.read(kSettingsFileMostBytes + 1);
    if (content.size() > kSettingsFileMostBytes) {
        read.reason = "it holds more bytes than any settings file (" +
                      std::to_string(kSettingsFileMostBytes) + ")";
        return read;
    }
    return parseSettingsFile(std::string_view(content.constData(), content.size()));
}

std::string settingsFileProblem(const std::string& path, const SettingsFileRead& read) {
    if (read.line == 0)
        return "cannot read " + path + ": " + read.reason;
    return path + ", line " + std::to_string(read.line) + ": " + read.reason;
}

ApplyPlan planApply(const SettingsFile& file, const char* now, const std::string& serialNumber) {
    return planPutBack(file.text, file.serialNumber, now, serialNumber);
}
