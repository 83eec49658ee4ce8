#include "link/record_stream.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "link/block_read.h"
#include "link/link_state.h"
#include "link/parameter_block.h"
#include "toolkit/serial/rs232.h"

namespace {

// Records come every few milliseconds for as long as the stream runs; taking them a chart
// frame's worth at a time costs one wake-up a frame instead of one a record (a wake-up
// costs far more than the records it takes), and no one sees records turn up a tenth of
// a second late. The operator's clicks wait as long at most.
constexpr double kRecordGathering = 0.1;

bool isLineEnd(char c) {
    return c == kCarriageReturn || c == kLineFeed;
}

// Blanks, an optional sign and at least one digit: a number as atoi takes it.
bool startsWithNumber(const char* text, int length) {
    int at = 0;
    while (at < length && text[at] == ' ') ++at;
    if (at < length && (text[at] == '-' || text[at] == '+'))
        ++at;
    return at < length && std::isdigit(static_cast<unsigned char>(text[at]));
}

// Blanks, then the digits of a count from 0 to kHighestCount, from `at` up to `end`; `at`
// is left behind the digits.
bool readCount(const char* text, int end, int& at, int& count) {
    while (at < end && text[at] == ' ') ++at;
    const int first = at;
    long value = 0;
    while (at < end && std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at] - '0');
        if (value > kHighestCount)
            return false;
        ++at;
    }
    if (at == first)
        return false;
    count = static_cast<int>(value);
    return true;
}

void keepPiece(RecordReader& reader, const char* taken, int count) {
    std::memcpy(reader.piece, taken, static_cast<size_t>(count));
    reader.pieceLength = count;
}

// Takes characters one at a time up to and including the next line end, each added to the
// piece. Only the line failing makes it more than a record out of step.
RecordTaken skipToLineEnd(RecordReader& reader) {
    for (int i = 0; i < kLongestResync; ++i) {
        if (reader.onlyReceived && GetInQLen(comPort) <= 0)
            break;
        char c = 0;
        const int count = readReply(&c, 1);
        if (count < 0)
            return RecordTaken::Failed;
        if (count == 0)
            break;
        reader.piece[reader.pieceLength++] = c;
        if (c == reader.lineEnd)
            break;
    }
    return RecordTaken::Broken;
}

}  // namespace

RecordReader recordReaderFor(int length) {
    RecordReader reader;
    reader.length = length;
    return reader;
}

RecordTaken takeRecordFromLine(RecordReader& reader, char* buffer) {
    const int length = reader.length;
    std::memcpy(buffer, reader.carry, static_cast<size_t>(reader.carried));
    const int carried = reader.carried;
    reader.carried = 0;
    const int count = readReply(buffer + carried, length - carried);
    buffer[length] = '\0';
    keepPiece(reader, buffer, carried + (count < 0 ? 0 : count));
    if (count < 0)
        return RecordTaken::Failed;
    if (carried + count != length)
        return RecordTaken::Short;

    if (reader.lineEnd < 0) {
        for (int i = 0; i < length; ++i)
            if (isLineEnd(buffer[i]))
                reader.lineEnd = buffer[i];
    }
    if (reader.lineEnd < 0) {
        const bool numbers =
            startsWithNumber(buffer, length) &&
            (length != kTwoValueRecordLength ||
             startsWithNumber(buffer + kSecondValueOffset, length - kSecondValueOffset));
        return numbers ? RecordTaken::Whole : RecordTaken::Broken;
    }
    if (buffer[length - 1] == reader.lineEnd)
        return RecordTaken::Whole;
    // Out of step: what follows the last line end inside it begins the next record.
    for (int i = length - 2; i >= 0; --i) {
        if (buffer[i] == reader.lineEnd) {
            reader.carried = length - 1 - i;
            std::memcpy(reader.carry, buffer + i + 1, static_cast<size_t>(reader.carried));
            reader.pieceLength = i + 1;
            return RecordTaken::Broken;
        }
    }
    return skipToLineEnd(reader);
}

RecordTaken takeReceivedRecord(RecordReader& reader, char* buffer) {
    reader.pieceLength = 0;
    const int waiting = GetInQLen(comPort);
    if (waiting < 0)
        return RecordTaken::Failed;
    if (waiting < reader.length - reader.carried)
        return RecordTaken::Short;
    reader.onlyReceived = true;
    const RecordTaken taken = takeRecordFromLine(reader, buffer);
    reader.onlyReceived = false;
    return taken;
}

RecordTaken takeReceivedRemainder(RecordReader& reader) {
    const int waiting = GetInQLen(comPort);
    if (waiting < 0)
        return RecordTaken::Failed;
    char taken[kTwoValueRecordLength] = {};
    std::memcpy(taken, reader.carry, static_cast<size_t>(reader.carried));
    const int wanted = std::min(waiting, reader.length - reader.carried);
    const int count = wanted > 0 ? readReply(taken + reader.carried, wanted) : 0;
    keepPiece(reader, taken, reader.carried + std::max(count, 0));
    reader.carried = 0;
    return count < 0 ? RecordTaken::Failed : RecordTaken::Short;
}

bool readRecordValues(const char* record, int length, RecordValues& values) {
    if (length != kOneValueRecordLength && length != kTwoValueRecordLength)
        return false;
    RecordValues read;
    read.hasSecond = length == kTwoValueRecordLength;
    const int firstEnd = read.hasSecond ? kSecondValueOffset : length;
    int at = 0;
    if (!readCount(record, firstEnd, at, read.counts))
        return false;
    if (read.hasSecond) {
        if (at == firstEnd)  // the separator before character 6 is never a digit
            return false;
        while (at < firstEnd && (record[at] == ',' || record[at] == ' ')) ++at;
        if (at != firstEnd || !readCount(record, length, at, read.counts2))
            return false;
    }
    while (at < length && isLineEnd(record[at])) ++at;
    if (at != length)
        return false;
    values = read;
    return true;
}

bool readStreamSettings(StreamSettings& settings, BlockRead& read) {
    read = readBlock(kLiveStartRead);
    if (!read.ok)
        return false;
    const int flags = getBlockByte(kFlagByte);
    settings.twoValues = (flags & kSecondChannelFlag) != 0;
    settings.rs232Data = (flags & kRs232DataFlag) != 0;
    settings.lengthTenths = getBlockByte(kLengthTenthsByte);
    return true;
}

bool startStream(AckFrame& ack) {
    flushQueues();
    sendCommand(kGoCommand);
    readAck(ack);
    if (ack.letter() != kGoReply)
        return false;
    SetComReadGathering(comPort, kRecordGathering);
    return true;
}
