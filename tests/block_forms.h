// Block texts as tests expect them: the read and write forms of a block, and blocks
// compared without the clock bytes that the instrument's running clock changes.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

using Block = std::array<uint8_t, 43>;

// The 129-character read form of `block`, upper case.
inline std::string readFormOf(const Block& block) {
    std::string text;
    char group[4];
    for (uint8_t value : block) {
        std::snprintf(group, sizeof group, "%02X,", value);
        text += group;
    }
    return text;
}

inline int checksumOf(const Block& block) {
    int sum = 0;
    for (uint8_t value : block) sum += value;
    return sum & 0xFF;
}

// The 131 characters a correct write of `block` sends.
inline std::string writeFormOf(const Block& block) {
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02X", checksumOf(block));
    return readFormOf(block) + checksum;
}

constexpr int kFirstClockByte = 11;
constexpr int kLastClockByte = 17;

// A scheduled start of two decimal digits a byte, 2027-03-01 08:30: a block whose date
// bytes are not decimal is never written, so blocks meant to be written carry one.
inline void putDecimalStart(Block& block) {
    block[18] = 0x30, block[19] = 0x08, block[20] = 0x01, block[21] = 0x03, block[22] = 0x27;
}

// The clock bytes run with the instrument's clock: a kept block is compared without them.
inline Block clockless(Block block) {
    for (int i = kFirstClockByte; i <= kLastClockByte; ++i) block[i] = 0;
    return block;
}

// `block` with the clock bytes that the block text `text` carries.
inline Block withClockOf(Block block, const std::string& text) {
    for (int i = kFirstClockByte; i <= kLastClockByte; ++i)
        block[i] = static_cast<uint8_t>(std::stoi(text.substr(3 * i, 2), nullptr, 16));
    return block;
}
