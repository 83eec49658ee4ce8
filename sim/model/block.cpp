// Text forms of the settings block, as the instrument sends and accepts them.
#include "sim/model/block.h"

namespace sim {
namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEF";
constexpr char kLowerDigits[] = "0123456789abcdef";

// Upper-case hex digits only: the instrument refuses lower-case text.
int strictHexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int strictHexPair(std::string_view text, size_t at) {
    const int high = strictHexDigit(text[at]), low = strictHexDigit(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

void appendHex(std::string& text, uint8_t value, bool lowerCase) {
    const char* digits = lowerCase ? kLowerDigits : kUpperDigits;
    text += digits[value >> 4];
    text += digits[value & 0x0F];
}

}  // namespace

Block defaultBlock() {
    Block block{};
    block[kScaleTrimByte] = 223;
    block[kRangeCodeByte] = 0;
    block[kGainByte] = 0x10;
    block[kGainByte + 1] = 0x00;
    block[kLengthTenthsByte] = 20;
    block[kFlagsByte] = kRs232DataFlag;
    return block;
}

uint8_t blockChecksum(const Block& block) {
    unsigned sum = 0;
    for (uint8_t byte : block) sum += byte;
    return static_cast<uint8_t>(sum % 256);
}

std::string blockText(const Block& block, bool withChecksum, bool lowerCase) {
    std::string text;
    text.reserve(kWriteFormLength);
    for (uint8_t byte : block) {
        appendHex(text, byte, lowerCase);
        text += ',';
    }
    if (withChecksum)
        appendHex(text, blockChecksum(block), lowerCase);
    return text;
}

std::optional<Block> parseWriteForm(std::string_view text) {
    if (text.size() != kWriteFormLength)
        return std::nullopt;
    Block block{};
    for (size_t i = 0; i < block.size(); ++i) {
        const int value = strictHexPair(text, 3 * i);
        if (value < 0 || text[3 * i + 2] != ',')
            return std::nullopt;
        block[i] = static_cast<uint8_t>(value);
    }
    if (strictHexPair(text, kReadFormLength) != blockChecksum(block))
        return std::nullopt;
    return block;
}

int16_t signedWord(const Block& block, int highByte) {
    return static_cast<int16_t>(block[highByte] << 8 | block[highByte + 1]);
}

}  // namespace sim
