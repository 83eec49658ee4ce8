// The instrument's 43-byte settings block, handled only as its hex text.
//
// Read form: 129 characters, byte i as two hex digits at 3i and 3i+1 and a comma at
// 3i+2. Write form: the read form, the checksum at 129 and 130, a NUL at 131, every hex
// letter upper case. The tool keeps no copy of the block between actions: every action
// reads it afresh (link/block_read.h) and writes the whole text back.
//
// The byte operations without a text argument work on the text in ioBuffer.
#pragma once

#include <cstdint>
#include <string>

#include "link/link_state.h"

int getBlockByte(int index);  // 0..255 from the text in ioBuffer
int getBlockByte(const char* text, int index);
bool fitsBlockByte(int value);  // 0..255
// Two lower-case digits at the byte's place; nothing else changes. A value that does not
// fit a byte writes nothing.
void putBlockByte(int index, int value);
void putBlockByte(char* text, int index, int value);
// The two digits and the comma behind them.
void putBlockCell(char* text, int index, int value);
// The signed 16-bit value of bytes `highIndex` (high) and `highIndex` + 1 (low).
int getBlockWord(const char* text, int highIndex);
// The low 16 bits of `value`'s two's-complement form into the two bytes, with their commas.
void putBlockWord(char* text, int highIndex, int value);

// The block checksum: the sum of the 43 bytes of the text at `text`, modulo 256.
int blockTextChecksum(const char* text);
// The checksum as the instrument sends it: two upper-case hex digits ("0B").
std::string blockTextChecksumDigits(const char* text);
// Checksum at 129 and 130, NUL at 131, then upper-case positions 0 to 130. Returns the
// checksum.
int finishBlockText();

enum class WriteResult {
    Written,
    RefusedAtW,
    RefusedAtD,
    NotSent,  // nothing went to the instrument: the text breaks the write rule
};
enum class Reread {
    None,
    AfterStepDelay,  // 'r', step delay, ack, step delay, 129 characters
    Immediately,     // 'r', step delay, ack, 129 characters
};
// What the block read back after a write showed against the text sent. The clock bytes
// 11 to 17 run on and the clock-set flag is the instrument's to clear once it has taken
// the time, so neither is compared.
struct ReadBack {
    bool compared = false;   // a whole block came back and was compared
    uint64_t differing = 0;  // bit i set: byte i came back other than it was sent
};
// Sends 'w', expects 'W', sends the 131-character write form from ioBuffer, expects
// 'D', then reads the block back as `reread` says. A text that breaks the write rule
// against `readText`, the block as read for this action, is not sent at all (NotSent;
// findWriteFault in link/write_rule.h names the field). `ack` holds the last
// acknowledgement; `readBack`, when given, what the re-read showed. A re-read that did not
// bring a whole block is not compared, as an unanswered re-read never stopped a write.
WriteResult writeBlock(const char* readText, Reread reread, AckFrame& ack,
                       ReadBack* readBack = nullptr);
