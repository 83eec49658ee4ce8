#include "link/block_read.h"

#include <cctype>
#include <cstring>

#include "link/parameter_block.h"
#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"

// clang-format off
//                                    before         flush  afterFlush  beforeAck   ackWithText afterAck    letter                   textLength              afterText   NUL at                flushes checksum wait
const BlockReadRecipe kSettingsDisplayRead    {kSettleDelay, true,  0,          kStepDelay, false,      kStepDelay, LetterTest::None,        kBlockReadWithChecksum, kStepDelay, -1,                   false, 0            };
const BlockReadRecipe kKxWriteRead            {kSettleDelay, true,  kStepDelay, kStepDelay, false,      kStepDelay, LetterTest::None,        kBlockTextLength,       0,          -1,                   false, kChecksumWait};
const BlockReadRecipe kQvWriteRead            {kSettleDelay, true,  0,          kStepDelay, false,      kStepDelay, LetterTest::None,        kBlockTextLength,       0,          -1,                   false, kChecksumWait};
const BlockReadRecipe kClockDisplayRead       {kSettleDelay, true,  0,          kStepDelay, true,       0,          LetterTest::None,        kBlockTextLength,       0,          -1,                   false, 0            };
const BlockReadRecipe kClockWriteRead         {0,            true,  0,          0,          false,      kStepDelay, LetterTest::None,        kBlockTextLength,       kStepDelay, kBlockWriteLength,    false, kChecksumWait};
const BlockReadRecipe kStartDisplayRead       {kSettleDelay, true,  0,          kStepDelay, false,      kStepDelay, LetterTest::None,        kBlockTextLength,       kStepDelay, kBlockWriteLength,    false, 0            };
const BlockReadRecipe kStartWriteRead         {0,            true,  0,          kStepDelay, false,      kStepDelay, LetterTest::None,        kBlockTextLength,       0,          kBlockWriteLength,    false, kChecksumWait};
const BlockReadRecipe kLiveStartRead          {kStepDelay,   true,  kStepDelay, 0,          false,      kStepDelay, LetterTest::BeforePause, kBlockReadWithChecksum, 0,          -1,                   false, 0            };
const BlockReadRecipe kCalibrationRead        {0,            true,  0,          kStepDelay, false,      kStepDelay, LetterTest::AfterPause,  kBlockTextLength,       0,          kBlockTextLength,     true,  kChecksumWait};
const BlockReadRecipe kDefaultCalibrationRead {kStepDelay,   true,  0,          0,          false,      kStepDelay, LetterTest::AfterPause,  kBlockTextLength,       0,          kBlockTextLength,     true,  kChecksumWait};
const BlockReadRecipe kRestoreRead            {kSettleDelay, true,  0,          kStepDelay, false,      kStepDelay, LetterTest::None,        kBlockTextLength,       0,          -1,                   false, kChecksumWait};
// clang-format on

namespace {

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The instrument's checksum behind a good text: a mismatch when two hex digits came and
// their value is not the text's sum. Anything else (nothing, one character) is no checksum.
bool checksumDiffers(const char* text, const char* checksum, int received) {
    if (received < kChecksumLength || !isHexDigit(checksum[0]) || !isHexDigit(checksum[1]))
        return false;
    return hexPairValue(checksum) != blockTextChecksum(text);
}

// Reads the two checksum characters behind the text with a short time-out of its own; the
// port's time-out is put back at once. The result stays out of comStatus and ioBuffer: the
// text read's status and the text are what the action goes on with.
int readTrailingChecksum(char* checksum, double wait) {
    SetComTime(comPort, wait);
    const int status = ComRd(comPort, checksum, kChecksumLength);
    SetComTime(comPort, kComTimeout);
    return status;
}

void keepText(BlockRead& read) {
    std::memcpy(read.text, ioBuffer + read.textOffset, kBlockTextLength);
    read.text[kBlockTextLength] = '\0';
}

}  // namespace

BlockRead checkBlockRead(int status, int textOffset) {
    BlockRead read;
    read.status = status;
    read.textOffset = textOffset;
    if (status < 0)
        return read;
    read.received = status - textOffset < 0 ? 0 : status - textOffset;
    if (read.received < kBlockTextLength)
        return read;
    const char* text = ioBuffer + textOffset;
    for (int i = 0; i < kBlockTextLength; ++i) {
        const bool good = (i % 3 == 2) ? text[i] == ',' : isHexDigit(text[i]);
        if (!good) {
            read.badPosition = i;
            return read;
        }
    }
    const int behind = read.received - kBlockTextLength;
    if (checksumDiffers(text, text + kBlockTextLength, behind)) {
        read.checksumMismatch = true;
        return read;
    }
    read.ok = true;
    keepText(read);
    return read;
}

namespace {

// What else came behind a failed text is discarded at once, where the recipe says so.
BlockRead flushedOnFailure(const BlockReadRecipe& recipe, BlockRead read) {
    if (!read.ok && !read.letterRefused && recipe.flushesOnFailure)
        flushQueues();
    return read;
}

BlockRead readBlockText(const BlockReadRecipe& recipe) {
    Delay(recipe.before);
    if (recipe.flush)
        flushQueues();
    Delay(recipe.afterFlush);
    sendCommand(kReadCommand);
    Delay(recipe.beforeAck);

    if (recipe.ackWithText) {
        // Byte i of the block then stands at 3i + 5.
        const int status = readReply(ioBuffer, kAckFrameLength + recipe.textLength);
        Delay(recipe.afterText);
        return checkBlockRead(status, kAckFrameLength);
    }

    AckFrame ack;
    readAck(ack);
    // Once the line is lost every later read fails at once: the exchange ends at the
    // first, without the pauses that would follow it.
    if (ack.status == kComDeviceLost) {
        BlockRead read = checkBlockRead(ack.status);
        read.ack = ack;
        return read;
    }
    const bool refused = ack.letter() != kReadReply;
    if (recipe.letter == LetterTest::BeforePause && refused) {
        BlockRead read;
        read.letterRefused = true;
        read.ack = ack;
        return read;
    }
    Delay(recipe.afterAck);
    if (recipe.letter == LetterTest::AfterPause && refused) {
        BlockRead read;
        read.letterRefused = true;
        read.ack = ack;
        return read;
    }

    const int status = readReply(ioBuffer, recipe.textLength);
    char checksum[kChecksumLength] = {};
    int checksumStatus = 0;
    if (recipe.checksumWait > 0 && status == kBlockTextLength)
        checksumStatus = readTrailingChecksum(checksum, recipe.checksumWait);
    if (recipe.terminatorAt >= 0)
        ioBuffer[recipe.terminatorAt] = '\0';
    Delay(recipe.afterText);
    BlockRead read = checkBlockRead(status);
    if (read.ok && checksumDiffers(ioBuffer, checksum, checksumStatus)) {
        read.ok = false;
        read.checksumMismatch = true;
    }
    read.ack = ack;
    return read;
}

}  // namespace

BlockRead readBlock(const BlockReadRecipe& recipe) {
    return flushedOnFailure(recipe, readBlockText(recipe));
}
