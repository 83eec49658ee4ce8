#include "link/link_state.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/panel_set.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

int comPort = 1;
char deviceName[kDeviceNameSize] = "COM1";
int comStatus = 0;
char ioBuffer[kIoBufferSize] = {};

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
    comStatus = FlushInQ(comPort);
    comStatus = FlushOutQ(comPort);
}

void sendCommand(char letter) {
    ComWrtByte(comPort, letter);
}

void sendWakeUpSequence() {
    ComWrtByte(comPort, 's');
    Delay(0.1);
    ComWrtByte(comPort, 't');
    Delay(2.0);
    flushQueues();
}

void sendStopPair() {
    ComWrtByte(comPort, 's');
    ComWrtByte(comPort, 't');
}

void sendQuitBytes() {
    ComWrtByte(comPort, 'g');
    ComWrtByte(comPort, 13);
    ComWrtByte(comPort, 10);
}

void clearMessages() {
    ResetTextBox(messagePanel, MESSAGE_TEXT, "");
}

void addMessageLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(ioBuffer, sizeof ioBuffer, format, args);
    va_end(args);
    InsertTextBoxLine(messagePanel, MESSAGE_TEXT, -1, ioBuffer);
}

void addMessageText(const char* text) {
    InsertTextBoxLine(messagePanel, MESSAGE_TEXT, -1, text);
}

void addAckLine(const char* received, int status) {
    if (status < 0)
        addMessageLine("error code = %d", status);
    else if (status == 0)
        addMessageLine("no reply from the instrument");
    else
        addMessageText(received);
}

void showMessages() {
    DisplayPanel(messagePanel);
}

void reportErrorCode(int status) {
    addMessageLine("error code = %d", status);
    showMessages();
}

void resetLinkState() {
    comPort = 1;
    std::snprintf(deviceName, sizeof deviceName, "COM1");
    comStatus = 0;
    std::memset(ioBuffer, 0, sizeof ioBuffer);
}
