// The connect action: the only place that opens the port and sets its time-out.
#include "link/connection.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/link_state.h"
#include "link/link_status.h"
#include "link/messages.h"
#include "link/panel_set.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

void setDeviceNameFromPort() {
    if (comPort >= kFirstComPort && comPort <= kLastComPort)
        std::snprintf(deviceName, sizeof deviceName, "COM%d", comPort);
}

// Wake-up, 'i' and the acknowledgement into ioBuffer; true when it carries 'I'.
bool requestIdentity() {
    sendWakeUpSequence();
    sendCommand(kIdentifyCommand);
    readReply(ioBuffer, kAckFrameLength);
    ioBuffer[kAckFrameLength] = '\0';
    return ioBuffer[1] == kIdentifyReply;
}

// The 15-byte identity reply into ioBuffer; its first 14 characters are the serial number,
// which is also kept for the settings history.
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

// The acknowledgement is still in ioBuffer, and what its read returned in comStatus.
void reportIdentifyFailure() {
    addReceivedText(ioBuffer, std::min(std::max(comStatus, 0), kAckFrameLength));
    addMessageLine("Connection failed, please try ");
    addMessageLine("pressing the button (unit may be sleeping)");
    addMessageLine("reconnect power or check serial cable");
    showMessages();
}

}  // namespace

bool identifyInstrument() {
    if (!requestIdentity()) {
        reportIdentifyFailure();
        return false;
    }
    readIdentityReply();
    flushQueues();
    return true;
}

int connectcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    GetCtrlVal(currentPanel, MAIN_PORT, &comPort);
    setDeviceNameFromPort();
    showPortInStatus(comPort, deviceName);
    SetStatusField(StatusField::Instrument, "");

    comStatus = OpenComConfig(comPort, deviceName, kBaudRate, 0, 8, 1, kQueueSize, kQueueSize);
    if (comStatus >= 0)
        comStatus = FlushInQ(comPort);
    if (comStatus >= 0)
        comStatus = FlushOutQ(comPort);
    if (comStatus >= 0)
        comStatus = SetComTime(comPort, kComTimeout);
    if (comStatus < 0) {
        showPortNotOpenInStatus();
        reportErrorCode(comStatus);
        return -1;
    }

    if (!requestIdentity()) {
        showNoAnswerInStatus();
        reportIdentifyFailure();
        return 0;
    }
    std::snprintf(ioBuffer, sizeof ioBuffer, "You have successfully connected");
    ResetTextBox(connectedPanel, CONNECTED_TEXT, ioBuffer);
    std::snprintf(ioBuffer, sizeof ioBuffer, "To Quorvel Serial Number");
    InsertTextBoxLine(connectedPanel, CONNECTED_TEXT, -1, ioBuffer);
    readIdentityReply();
    InsertTextBoxLine(connectedPanel, CONNECTED_TEXT, -1, ioBuffer);
    showInstrumentInStatus(ioBuffer);
    DisplayPanel(connectedPanel);
    flushQueues();
    return 0;
}
