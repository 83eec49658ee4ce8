#include "link/messages.h"

#include <cstdarg>
#include <cstdio>

#include "link/link_state.h"
#include "link/panel_set.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/error_explanations.h"
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

void addAckLine(const char* received, int status) {
    if (status < 0)
        addErrorCodeLine(status);
    else if (status == 0) {
        addMessageLine("no reply from the instrument");
        explainSilence();
    } else {
        addMessageText(received);
    }
}

void showMessages() {
    DisplayPanel(messagePanel);
}

void addErrorCodeLine(int status) {
    addMessageLine("error code = %d", status);
    SetMessageHint(ComErrorExplanation(status));
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
