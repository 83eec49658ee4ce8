// The instrument's 43-byte settings block: its layout, its defaults and its hex text forms.
//
// Read form: 43 groups of two hex digits and a comma (129 characters), optionally followed
// by the checksum (sum of the 43 bytes mod 256) as two more hex digits. The instrument takes
// a write only in the strict form: upper-case digits, every comma in place, right checksum.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

using Block = std::array<uint8_t, 43>;

constexpr int kReadFormLength = 129;
constexpr int kWriteFormLength = 131;

// Byte positions within the block.
constexpr int kScaleTrimByte = 1;
constexpr int kRangeCodeByte = 2;
constexpr int kGainByte = 3;    // and 4, high byte first
constexpr int kZeroByte = 5;    // and 6, high byte first
constexpr int kClockByte = 11;  // to 17
constexpr int kLengthTenthsByte = 24;
constexpr int kFlagsByte = 42;

// Bits of the flag byte.
constexpr uint8_t kRs232DataFlag = 0x02;
constexpr uint8_t kClockSetFlag = 0x08;
constexpr uint8_t kSecondChannelFlag = 0x10;

// A fresh instrument: gain 4096, zero 0, a 2.0 gauge of type 0 (scale trim 223, range code 0,
// length 20 tenths), RS232 data on. The clock bytes are the clock's to fill.
Block defaultBlock();

uint8_t blockChecksum(const Block& block);
std::string blockText(const Block& block, bool withChecksum, bool lowerCase = false);
// The block in a 131-character write form, or nothing when the text breaks any rule.
std::optional<Block> parseWriteForm(std::string_view text);

int16_t signedWord(const Block& block, int highByte);

}  // namespace sim
