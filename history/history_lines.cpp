#include "history/history_lines.h"

#include <cctype>
#include <vector>

#include "link/parameter_block.h"
#include "toolkit/platform/utility.h"

namespace {

constexpr size_t kFields = 6;

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Fields from our own program are plain already; a serial number comes from the line.
std::string plain(const std::string& field) {
    return IsPlainText(field) ? field : VisibleText(field);
}

}  // namespace

bool isHistoryTime(std::string_view time) {
    static constexpr std::string_view kShape = "dddd-dd-dd dd:dd:dd";
    if (time.size() != kShape.size())
        return false;
    for (size_t i = 0; i < time.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(time[i])) != 0;
        if (kShape[i] == 'd' ? !digit : time[i] != kShape[i])
            return false;
    }
    return true;
}

std::string formatHistoryLine(const std::string& time, const std::string& action,
                              const std::string& stage, const std::string& serialNumber,
                              const std::string& port, const char* blockText) {
    const std::string text(blockText, kBlockTextLength);
    return plain(time) + '\t' + plain(action) + '\t' + plain(stage) + '\t' + plain(serialNumber) +
           '\t' + plain(port) + '\t' + text + blockTextChecksumDigits(text.c_str()) + '\n';
}

bool parseHistoryLine(std::string_view line, HistoryEntry& entry) {
    std::vector<std::string_view> fields;
    for (size_t from = 0;;) {
        const size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
        if (tab == std::string_view::npos || fields.size() > kFields)
            break;
        from = tab + 1;
    }
    if (fields.size() != kFields)
        return false;
    for (const std::string_view field : fields)
        if (field.empty() || !IsPlainText(field))
            return false;
    const std::string_view block = fields[5];
    const bool withChecksum = block.size() == static_cast<size_t>(kBlockWriteLength);
    HistoryEntry read;
    read.time = fields[0];
    read.action = fields[1];
    read.stage = fields[2];
    read.serialNumber = fields[3];
    read.port = fields[4];
    read.text = block.substr(0, kBlockTextLength);
    if (withChecksum)
        read.checksum = block.substr(kBlockTextLength);
    else if (block.size() != static_cast<size_t>(kBlockTextLength))
        return false;
    if (!isHistoryTime(read.time) ||
        (read.stage != kBeforeStage && read.stage != kWrittenStage && read.stage != kReadStage) ||
        !blockTextSound(read))
        return false;
    read.line = entry.line;
    entry = std::move(read);
    return true;
}

bool isBlockText(std::string_view text) {
    if (text.size() != static_cast<size_t>(kBlockTextLength))
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool good = i % 3 == 2 ? text[i] == ',' : isHex(text[i]);
        if (!good)
            return false;
    }
    return true;
}

bool blockTextSound(const HistoryEntry& entry) {
    if (!isBlockText(entry.text))
        return false;
    if (entry.checksum.empty())
        return true;
    return entry.checksum.size() == static_cast<size_t>(kChecksumLength) &&
           isHex(entry.checksum[0]) && isHex(entry.checksum[1]) &&
           hexPairValue(entry.checksum.c_str()) == blockTextChecksum(entry.text.c_str());
}
