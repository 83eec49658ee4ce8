#include "link/messages.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "link/link_state.h"
#include "link/panel_set.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
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

std::string visibleCharacters(const char* text, int count) {
    std::string line;
    for (int i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 32 && c <= 126) {
            line += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            line += escaped;
        }
    }
    return line;
}

void addReceivedText(const char* text, int count) {
    addMessageText(visibleCharacters(text, count).c_str());
}

void addAckLine(const char* received, int status) {
    if (status < 0)
        addErrorCodeLine(status);
    else if (status == 0) {
        addMessageLine("no reply from the instrument");
        explainSilence();
    } else {
        addReceivedText(received, std::min(status, kAckFrameLength));
    }
}

void showMessages() {
    DisplayPanel(messagePanel);
}

void addErrorCodeLine(int status) {
    addMessageLine("error code = %d", status);
    SetMessageHint(ComErrorExplanation(status, LastComOpenFailure(comPort)));
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
