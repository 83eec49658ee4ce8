#include "link/link_state.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"

int comPort = 1;
char deviceName[kDeviceNameSize] = "COM1";
int comStatus = 0;
char ioBuffer[kIoBufferSize] = {};
char identifiedSerialNumber[kSerialNumberLength + 1] = {};
std::string linkDevice;
unsigned long lineSteps = 0;

std::string portLabel() {
    return linkDevice.empty() ? std::string(deviceName) : linkDevice;
}

int hexDigitValue(char c) {
    const int value = static_cast<signed char>(c);
    if (value <= '9')
        return value - 48;
    return std::toupper(static_cast<unsigned char>(c)) - 55;
}

int hexPairValue(const char* text) {
    return 16 * hexDigitValue(text[0]) + hexDigitValue(text[1]);
}

int readReply(char* buffer, int count) {
    ++lineSteps;
    std::memset(buffer, 0, static_cast<size_t>(count));
    comStatus = ComRd(comPort, buffer, count);
    return comStatus;
}

int readAck(AckFrame& ack) {
    ack.status = readReply(ack.text, kAckFrameLength);
    ack.text[kAckFrameLength] = '\0';
    return ack.status;
}

void flushQueues() {
    ++lineSteps;
    comStatus = FlushInQ(comPort);
    comStatus = FlushOutQ(comPort);
}

void sendCommand(char letter) {
    ++lineSteps;
    ComWrtByte(comPort, letter);
}

int sendWakeUpSequence() {
    sendCommand(kStopCommand);
    Delay(kWakeStepDelay);
    sendCommand(kStopSecond);
    Delay(kWakeDelay);
    const int heard = GetInQLen(comPort);
    flushQueues();
    return heard;
}

void sendStopPair() {
    // The stream is over: reads answer again as soon as their characters are in.
    SetComReadGathering(comPort, 0);
    sendCommand(kStopCommand);
    sendCommand(kStopSecond);
}

void sendQuitBytes() {
    sendCommand(kGoCommand);
    sendCommand(kCarriageReturn);
    sendCommand(kLineFeed);
}

void resetLinkState() {
    comPort = 1;
    std::snprintf(deviceName, sizeof deviceName, "COM1");
    comStatus = 0;
    std::memset(ioBuffer, 0, sizeof ioBuffer);
    std::memset(identifiedSerialNumber, 0, sizeof identifiedSerialNumber);
    linkDevice.clear();
}
