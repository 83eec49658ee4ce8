// The connect action: the only place in the window that opens the port and sets its
// time-out. The exchange is the core's (link/identify.h); this is what the operator sees.
#include "feedback/connect_panel.h"

#include <algorithm>
#include <cstdio>

#include "feedback/line_lost_watch.h"
#include "feedback/link_status.h"
#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/identify.h"
#include "link/reasons.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

void setDeviceNameFromPort() {
    if (comPort >= kFirstComPort && comPort <= kLastComPort)
        std::snprintf(deviceName, sizeof deviceName, "COM%d", comPort);
}

// The acknowledgement that lacked its 'I', then the three connection-failed lines; when
// live records came instead, a line that says so, since the button is not the way on.
void reportIdentifyFailure(const AckFrame& ack, bool liveRecords) {
    addReceivedText(ack.text, ack.status < 0 ? 0 : std::min(ack.status, kAckFrameLength));
    addMessageLine("Connection failed, please try ");
    addMessageLine("pressing the button (unit may be sleeping)");
    addMessageLine("reconnect power or check serial cable");
    if (liveRecords)
        addMessageText(kStillSendingText);
    showMessages();
}

AckFrame ackInBuffer() {
    AckFrame ack;
    for (int i = 0; i < kAckFrameLength; ++i) ack.text[i] = ioBuffer[i];
    ack.status = comStatus;
    return ack;
}

}  // namespace

bool identifyInstrument() {
    const Identification id = identifyInstrumentOnLine();
    if (!id.identified)
        reportIdentifyFailure(id.ack, id.liveRecords);
    return id.identified;
}

int connectcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    // Connect opens the port anew whatever came before: a watch for a lost line ends here.
    endLineLostWatch();
    GetCtrlVal(currentPanel, MAIN_PORT, &comPort);
    setDeviceNameFromPort();
    showPortInStatus(comPort, deviceName);
    SetStatusField(StatusField::Instrument, "");

    if (openLinkPort(deviceName) < 0) {
        showPortNotOpenInStatus();
        reportErrorCode(comStatus);
        return -1;
    }
    const IdentityAnswer answer = requestIdentity();
    if (!answer.identified) {
        showNoAnswerInStatus();
        if (answer.liveRecords)
            SetStatusField(StatusField::Instrument, "still sending live records");
        reportIdentifyFailure(ackInBuffer(), answer.liveRecords);
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
