#include "feedback/messages.h"

#include <cstdarg>
#include <cstdio>

#include "feedback/line_lost_watch.h"
#include "feedback/panel_set.h"
#include "link/link_state.h"
#include "link/reasons.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/clock.h"
#include "toolkit/serial/error_explanations.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

void clearMessages() {
    ResetTextBox(messagePanel, MESSAGE_TEXT, "");
    SetMessageHint(nullptr);
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

void addReceivedText(const char* text, int count) {
    addMessageText(visibleCharacters(text, count).c_str());
}

void addAckLine(const char* received, int status) {
    AckFrame ack;
    ack.status = status;
    for (int i = 0; i < kAckFrameLength; ++i) ack.text[i] = received[i];
    if (status < 0) {
        addErrorCodeLine(status);
    } else if (status == 0) {
        addMessageLine("%s", ackText(ack).c_str());
        explainSilence();
    } else {
        addMessageText(ackText(ack).c_str());
    }
}

void showMessages() {
    DisplayPanel(messagePanel);
}

void addErrorCodeLine(int status) {
    addMessageLine("%s", errorCodeText(status).c_str());
    SetMessageHint(ComPortExplanation(status, comPort, ComAdvice::Window).c_str());
    // Every exchange that meets a lost line reports it here: the window then watches for
    // the adapter to come back.
    if (status == kComDeviceLost)
        noteLineLost(CurrentClock().wallTime());
}

void explainSilence() {
    SetMessageHint(
        "No instrument answered on this port: check that it is connected and "
        "switched on, and that the right port is chosen on the main panel.");
}

void reportErrorCode(int status) {
    addErrorCodeLine(status);
    showMessages();
}
