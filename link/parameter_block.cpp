#include "link/parameter_block.h"

#include <cctype>
#include <cstdio>

#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"

namespace {
constexpr double kStepDelay = 0.2;
constexpr double kSettleDelay = 0.5;

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Two lower-case hex digits for 0..255 at `position`; nothing else changes.
void putHexPair(int position, int value) {
    char pair[3];
    std::snprintf(pair, sizeof pair, value <= 15 ? "0%1x" : "%2x", value);
    ioBuffer[position] = pair[0];
    ioBuffer[position + 1] = pair[1];
}
}  // namespace

int readBlock(int textLength, double pauseAfterFlush) {
    flushQueues();
    if (pauseAfterFlush > 0)
        Delay(pauseAfterFlush);
    sendCommand('r');
    Delay(kStepDelay);
    readReply(ioBuffer, kAckFrameLength);
    Delay(kStepDelay);
    return readReply(ioBuffer, textLength);
}

BlockReadCheck checkBlockRead(int status, int textOffset) {
    BlockReadCheck check;
    check.status = status;
    if (status < 0)
        return check;
    check.received = status - textOffset < 0 ? 0 : status - textOffset;
    if (check.received < kBlockTextLength)
        return check;
    const char* text = ioBuffer + textOffset;
    for (int i = 0; i < kBlockTextLength; ++i) {
        const bool good = (i % 3 == 2) ? text[i] == ',' : isHexDigit(text[i]);
        if (!good) {
            check.badPosition = i;
            return check;
        }
    }
    check.ok = true;
    return check;
}

void addBlockReadFailureLine(const BlockReadCheck& check) {
    if (check.status < 0) {
        addMessageLine("error code = %d", check.status);
    } else if (check.received < kBlockTextLength) {
        addMessageLine("settings not read: %d of %d characters came", check.received,
                       kBlockTextLength);
    } else {
        addMessageLine("settings not read: unexpected character at position %d", check.badPosition);
    }
}

int getBlockByte(int index) {
    return hexPairValue(ioBuffer + 3 * index);
}

bool fitsBlockByte(int value) {
    return value >= 0 && value <= 255;
}

void putBlockByte(int index, int value) {
    if (fitsBlockByte(value))
        putHexPair(3 * index, value);
}

int finishBlockText() {
    int sum = 0;
    for (int i = 0; i < kBlockBytes; ++i) sum += getBlockByte(i);
    const int checksum = sum & 0xFF;
    putHexPair(kBlockTextLength, checksum);
    ioBuffer[kBlockWriteLength] = '\0';
    for (int i = 0; i < kBlockWriteLength; ++i) {
        if (ioBuffer[i] >= 'a' && ioBuffer[i] <= 'f')
            ioBuffer[i] = static_cast<char>(ioBuffer[i] - 32);
    }
    return checksum;
}

WriteResult writeBlock(Reread reread, AckFrame& ack) {
    flushQueues();
    sendCommand('w');
    Delay(kStepDelay);
    readAck(ack);
    Delay(kStepDelay);
    if (ack.letter() != 'W')
        return WriteResult::RefusedAtW;

    comStatus = ComWrt(comPort, ioBuffer, kBlockWriteLength);
    Delay(kSettleDelay);
    readAck(ack);
    Delay(kStepDelay);
    if (ack.letter() != 'D')
        return WriteResult::RefusedAtD;

    if (reread != Reread::None) {
        AckFrame rereadAck;
        sendCommand('r');
        Delay(kStepDelay);
        readAck(rereadAck);
        if (reread == Reread::AfterStepDelay)
            Delay(kStepDelay);
        readReply(ioBuffer, kBlockTextLength);
    }
    return WriteResult::Written;
}
