#include "link/messages.h"

#include <cstdarg>
#include <cstdio>

#include "link/link_state.h"
#include "link/panel_set.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

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
