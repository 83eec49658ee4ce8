// The link to the instrument: the port, the status of the latest serial call, the one
// shared reply buffer, and the small exchanges every action is built from.
//
// Invariants: every read clears the positions it is to fill before it reads, so a reply
// that did not come never looks like one that did; every text formatted into ioBuffer is
// bounded by its size.
#pragma once

#include <string>

#include "link/protocol.h"

inline constexpr int kIoBufferSize = 151;
inline constexpr int kDeviceNameSize = 16;

extern int comPort;                       // 1 to 4, set by a connect
extern char deviceName[kDeviceNameSize];  // "COM1" to "COM4"
extern int comStatus;                     // result of the latest serial call
extern char ioBuffer[kIoBufferSize];
// The serial number of the latest successful identification, trailing blanks cut; empty
// before the first.
extern char identifiedSerialNumber[kSerialNumberLength + 1];
// The device a command named instead of a port number (a path such as /dev/ttyUSB0);
// empty when the port was named COM1 to COM4, as the window always names it.
extern std::string linkDevice;
// Counts the steps exchanges take on the line (commands sent, queues flushed, replies
// read): what looks at the line from outside an exchange can tell whether one has run
// since it last looked.
extern unsigned long lineSteps;
// What the port is called in records such as the settings history: linkDevice when set,
// else deviceName.
std::string portLabel();

// A 5-byte acknowledgement and its terminator, for the exchanges that keep ioBuffer busy.
struct AckFrame {
    char text[kAckFrameLength + 1] = {};
    int status = 0;  // what its read returned: the characters that came, or an error
    char letter() const { return text[1]; }
};

// Hex digit to value without validation: ',' gives -4, 'G' gives 16.
int hexDigitValue(char c);
// 16 x the first digit + the second; reads exactly two characters.
int hexPairValue(const char* text);

// Reads `count` bytes into `buffer` after clearing those positions; the status goes to
// comStatus and is returned.
int readReply(char* buffer, int count);
// Reads an acknowledgement into `ack`, terminated behind its five characters.
int readAck(AckFrame& ack);
// FlushInQ then FlushOutQ, both results to comStatus.
void flushQueues();
void sendCommand(char letter);

// 's', 0.1 s, 't', 2.0 s, flush both queues; returns how many characters the flush
// discarded (what came while the instrument woke), negative when the line cannot say.
int sendWakeUpSequence();
void sendStopPair();   // 's' 't' back to back
void sendQuitBytes();  // 'g' CR LF

void resetLinkState();
