#include "link/parameter_block.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "link/block_read.h"
#include "link/write_rule.h"
#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"

namespace {

// Two lower-case hex digits for 0..255 at `position`; nothing else changes.
void putHexPair(char* text, int position, int value) {
    char pair[3];
    std::snprintf(pair, sizeof pair, value <= 15 ? "0%1x" : "%2x", value);
    text[position] = pair[0];
    text[position + 1] = pair[1];
}

bool isClockByte(int index) {
    return index >= kClockSecondsByte && index <= kClockYearByte;
}

// Compares the block read back into ioBuffer with the text that was sent.
ReadBack compareReadBack(const char* sent, int status) {
    ReadBack back;
    if (!checkBlockRead(status).ok)
        return back;
    back.compared = true;
    for (int i = 0; i < kBlockBytes; ++i) {
        if (isClockByte(i))
            continue;
        int mask = 0xFF;
        if (i == kFlagByte)
            mask &= ~kClockSetFlag;
        if ((getBlockByte(sent, i) & mask) != (getBlockByte(ioBuffer, i) & mask))
            back.differing |= uint64_t{1} << i;
    }
    return back;
}

}  // namespace

int getBlockByte(int index) {
    return getBlockByte(ioBuffer, index);
}

int getBlockByte(const char* text, int index) {
    return hexPairValue(text + blockTextPosition(index));
}

bool fitsBlockByte(int value) {
    return value >= 0 && value <= 255;
}

void putBlockByte(int index, int value) {
    putBlockByte(ioBuffer, index, value);
}

void putBlockByte(char* text, int index, int value) {
    if (fitsBlockByte(value))
        putHexPair(text, blockTextPosition(index), value);
}

void putBlockCell(char* text, int index, int value) {
    if (!fitsBlockByte(value))
        return;
    putHexPair(text, blockTextPosition(index), value);
    text[blockCommaPosition(index)] = ',';
}

int getBlockWord(const char* text, int highIndex) {
    const int raw = getBlockByte(text, highIndex) * 256 + getBlockByte(text, highIndex + 1);
    return static_cast<int16_t>(static_cast<uint16_t>(raw & 0xFFFF));
}

void putBlockWord(char* text, int highIndex, int value) {
    const unsigned word = static_cast<uint32_t>(value) & 0xFFFFu;
    putBlockCell(text, highIndex, static_cast<int>(word >> 8));
    putBlockCell(text, highIndex + 1, static_cast<int>(word & 0xFFu));
}

std::string blockTextChecksumDigits(const char* text) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", blockTextChecksum(text));
    return digits;
}

int blockTextChecksum(const char* text) {
    int sum = 0;
    for (int i = 0; i < kBlockBytes; ++i) sum += getBlockByte(text, i);
    return sum & 0xFF;
}

int finishBlockText() {
    const int checksum = blockTextChecksum(ioBuffer);
    putHexPair(ioBuffer, kChecksumPosition, checksum);
    ioBuffer[kBlockWriteLength] = '\0';
    for (int i = 0; i < kBlockWriteLength; ++i) {
        if (ioBuffer[i] >= 'a' && ioBuffer[i] <= 'f')
            ioBuffer[i] = static_cast<char>(ioBuffer[i] - 32);
    }
    return checksum;
}

WriteResult writeBlock(const char* readText, Reread reread, AckFrame& ack, ReadBack* readBack) {
    if (findWriteFault(readText, ioBuffer))
        return WriteResult::NotSent;
    char sent[kBlockWriteLength + 1];
    std::memcpy(sent, ioBuffer, sizeof sent);
    flushQueues();
    sendCommand(kWriteCommand);
    Delay(kStepDelay);
    readAck(ack);
    Delay(kStepDelay);
    if (ack.letter() != kWriteReply)
        return WriteResult::RefusedAtW;

    comStatus = ComWrt(comPort, ioBuffer, kBlockWriteLength);
    Delay(kSettleDelay);
    readAck(ack);
    Delay(kStepDelay);
    if (ack.letter() != kWrittenReply)
        return WriteResult::RefusedAtD;

    if (reread != Reread::None) {
        AckFrame rereadAck;
        sendCommand(kReadCommand);
        Delay(kStepDelay);
        readAck(rereadAck);
        if (reread == Reread::AfterStepDelay)
            Delay(kStepDelay);
        const int status = readReply(ioBuffer, kBlockTextLength);
        if (readBack)
            *readBack = compareReadBack(sent, status);
    }
    return WriteResult::Written;
}
