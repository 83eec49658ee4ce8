#include "link/identify.h"

#include <cstring>

#include "link/record_stream.h"
#include "toolkit/serial/rs232.h"

namespace {

// What live records are made of: digits, blanks, the separator, signs and line ends, a
// digit among them. An acknowledgement carries its letter instead.
bool looksLikeRecordCharacters(const char* text, int count) {
    bool digit = false;
    for (int i = 0; i < count; ++i) {
        const char c = text[i];
        digit = digit || (c >= '0' && c <= '9');
        const bool recordCharacter = (c >= '0' && c <= '9') || c == ' ' || c == ',' || c == '+' ||
                                     c == '-' || c == kCarriageReturn || c == kLineFeed;
        if (!recordCharacter)
            return false;
    }
    return digit;
}

}  // namespace

int openLinkPort(const char* device) {
    ++lineSteps;
    comStatus = OpenComConfig(comPort, device, kBaudRate, 0, 8, 1, kQueueSize, kQueueSize);
    if (comStatus >= 0)
        comStatus = FlushInQ(comPort);
    if (comStatus >= 0)
        comStatus = FlushOutQ(comPort);
    if (comStatus >= 0)
        comStatus = SetComTime(comPort, kComTimeout);
    return comStatus < 0 ? comStatus : 0;
}

IdentityAnswer requestIdentity() {
    const int heardWhileWaking = sendWakeUpSequence();
    sendCommand(kIdentifyCommand);
    const int received = readReply(ioBuffer, kAckFrameLength);
    ioBuffer[kAckFrameLength] = '\0';
    IdentityAnswer answer;
    answer.identified = ioBuffer[1] == kIdentifyReply;
    answer.liveRecords = !answer.identified && heardWhileWaking >= kOneValueRecordLength &&
                         received == kAckFrameLength &&
                         looksLikeRecordCharacters(ioBuffer, kAckFrameLength);
    return answer;
}

void readIdentityReply() {
    readReply(ioBuffer, kIdentityReplyLength);
    ioBuffer[kSerialNumberLength] = '\0';
    std::memcpy(identifiedSerialNumber, ioBuffer, sizeof identifiedSerialNumber);
    for (int i = kSerialNumberLength - 1; i >= 0; --i) {
        const char c = identifiedSerialNumber[i];
        if (c != ' ' && c != '\r' && c != '\n' && c != '\0')
            break;
        identifiedSerialNumber[i] = '\0';
    }
}

Identification identifyInstrumentOnLine() {
    Identification id;
    const IdentityAnswer answer = requestIdentity();
    id.identified = answer.identified;
    id.liveRecords = answer.liveRecords;
    std::memcpy(id.ack.text, ioBuffer, sizeof id.ack.text);
    id.ack.status = comStatus;
    if (!id.identified)
        return id;
    readIdentityReply();
    id.serialNumber = identifiedSerialNumber;
    flushQueues();
    return id;
}
