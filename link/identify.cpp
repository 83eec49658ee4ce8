#include "link/identify.h"

#include <cstring>

#include "toolkit/serial/rs232.h"

int openLinkPort(const char* device) {
    comStatus = OpenComConfig(comPort, device, kBaudRate, 0, 8, 1, kQueueSize, kQueueSize);
    if (comStatus >= 0)
        comStatus = FlushInQ(comPort);
    if (comStatus >= 0)
        comStatus = FlushOutQ(comPort);
    if (comStatus >= 0)
        comStatus = SetComTime(comPort, kComTimeout);
    return comStatus < 0 ? comStatus : 0;
}

bool requestIdentity() {
    sendWakeUpSequence();
    sendCommand(kIdentifyCommand);
    readReply(ioBuffer, kAckFrameLength);
    ioBuffer[kAckFrameLength] = '\0';
    return ioBuffer[1] == kIdentifyReply;
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
    id.identified = requestIdentity();
    std::memcpy(id.ack.text, ioBuffer, sizeof id.ack.text);
    id.ack.status = comStatus;
    if (!id.identified)
        return id;
    readIdentityReply();
    id.serialNumber = identifiedSerialNumber;
    flushQueues();
    return id;
}
