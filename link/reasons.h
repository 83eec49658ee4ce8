// What an exchange brought when it went wrong, in the words the operator reads: one
// sentence each, shared by the window's message lines and the command line's standard
// error, so that both say the same thing about the same reply.
#pragma once

#include <string>

struct AckFrame;
struct BlockRead;
struct ReadBack;

// The first `count` characters of `text`, each one that cannot be shown (NUL, control
// characters, bytes above 126) written as \xNN; printable ones stay as they came.
std::string visibleCharacters(const char* text, int count);
// "error code = -6".
std::string errorCodeText(int status);
inline constexpr char kNoReplyText[] = "no reply from the instrument";
// An acknowledgement that lacked its letter: the characters that came, or the error code
// when its read failed, or kNoReplyText, so that a refusal never reads as an empty line.
std::string ackText(const AckFrame& ack);
// A failed block read: the acknowledgement for a refused letter, the error code, or what
// came ("settings not read: 57 of 129 characters came").
std::string blockReadFailureText(const BlockRead& read);
// "block read back differs from the one written in bytes 7, 42".
std::string readBackDifferenceText(const ReadBack& readBack);
