// The instrument's 43-byte settings block, handled only as its hex text in ioBuffer.
//
// Read form: 129 characters, byte i as two hex digits at 3i and 3i+1 and a comma at
// 3i+2. Write form: the read form, the checksum at 129 and 130, a NUL at 131, every hex
// letter upper case. The tool keeps no copy of the block between actions: every action
// reads it afresh and writes the whole text back.
#pragma once

#include "link/link_state.h"

inline constexpr int kBlockBytes = 43;
inline constexpr int kBlockTextLength = 129;
inline constexpr int kBlockWriteLength = 131;
inline constexpr int kBlockReadWithChecksum = 131;
inline constexpr int kFlagByte = 42;
inline constexpr int kLengthTenthsByte = 24;

// Bits of the flag byte 42.
inline constexpr int kOptionBit0 = 0x01;
inline constexpr int kRs232DataFlag = 0x02;
inline constexpr int kClockSetFlag = 0x08;
inline constexpr int kSecondChannelFlag = 0x10;
inline constexpr int kScheduledStartFlag = 0x20;
inline constexpr int kOptionBit6 = 0x40;

// Flush both queues, optionally pause, 'r', 0.2 s, the acknowledgement into ioBuffer,
// 0.2 s, then `textLength` characters into ioBuffer from position 0. Returns the status
// of the text read (also in comStatus).
int readBlock(int textLength, double pauseAfterFlush = 0.0);

// What a block read brought, judged before anything is decoded or written back: a
// negative serial status, or fewer than 129 characters, or text that is not 43 groups of
// two hex digits and a comma, is a failed read.
struct BlockReadCheck {
    bool ok = false;
    int status = 0;        // the serial status of the read
    int received = 0;      // characters of block text that came
    int badPosition = -1;  // first character that breaks the form, when the text is malformed
};
// `textOffset` is where the text starts in ioBuffer (5 when the read took the
// acknowledgement too); `status` counts from position 0.
BlockReadCheck checkBlockRead(int status, int textOffset = 0);
// The message line for a failed read: "error code = %d" for a negative status, else a
// line that says what came. Overwrites ioBuffer.
void addBlockReadFailureLine(const BlockReadCheck& check);

int getBlockByte(int index);              // 0..255 from the text in ioBuffer
bool fitsBlockByte(int value);            // 0..255
void putBlockByte(int index, int value);  // two lower-case digits; value must fit
// Checksum at 129 and 130, NUL at 131, then upper-case positions 0 to 130. Returns the
// checksum.
int finishBlockText();

enum class WriteResult { Written, RefusedAtW, RefusedAtD };
enum class Reread {
    None,
    AfterStepDelay,  // 'r', 0.2 s, ack, 0.2 s, 129 characters
    Immediately,     // 'r', 0.2 s, ack, 129 characters
};
// Sends 'w', expects 'W', sends the 131-character write form from ioBuffer, expects
// 'D', then reads the block back as `reread` says. `ack` holds the last acknowledgement.
WriteResult writeBlock(Reread reread, AckFrame& ack);
