// The message panel's conventions, which every action of the window reports through: a
// line is formatted into ioBuffer and appended to the message panel's text box, and a
// report ends by bringing the message panel to the front. The words of a failed exchange
// are the core's (link/reasons.h); this is where the window shows them.
#pragma once

// Clearing also clears the explanation the main window shows below the newest error.
void clearMessages();
void addMessageLine(const char* format, ...);
void addMessageText(const char* text);  // a line as it stands
// The first `count` characters of `text` as a line, each one that cannot be shown (NUL,
// control characters, bytes above 126) written as \xNN; printable ones stay as they came.
void addReceivedText(const char* text, int count);
// An acknowledgement that lacked its letter, as one line: the characters that came, or
// "error code = %d" when its read failed, or a line that says nothing came, so that a
// refusal never reads as an empty line.
void addAckLine(const char* received, int status);
// "error code = %d"; the main window explains the code in words below the text box.
void addErrorCodeLine(int status);
// What the operator can do when no character at all came back.
void explainSilence();
void showMessages();
void reportErrorCode(int status);  // "error code = %d" and the panel to the front
