// Opening the port and the identify exchange: the wake-up sequence, 'i', its 'I' and the
// identity reply with the instrument's serial number. Every action that talks to the
// instrument does so after these two, in this order.
#pragma once

#include <string>

#include "link/link_state.h"

// Opens comPort on `device` with the line's settings (9600 baud, 8N1, 512-byte queues),
// flushes both queues and sets the time-out, each result to comStatus. Stops at the first
// negative result and returns it; returns 0 when the port is ready.
int openLinkPort(const char* device);

// What answered the wake-up and 'i'.
struct IdentityAnswer {
    bool identified = false;  // the acknowledgement carries 'I'
    // Not identified, because the instrument is still streaming live records: they came
    // through the whole wake-up, and in the place of the acknowledgement.
    bool liveRecords = false;
};
// Wake-up, 'i' and its acknowledgement into ioBuffer (a NUL behind its five characters).
// comStatus holds what the acknowledgement's read returned.
IdentityAnswer requestIdentity();
// The 15-byte identity reply into ioBuffer, a NUL at 14: its first 14 characters are the
// serial number, which is also kept (trailing blanks cut) in identifiedSerialNumber.
void readIdentityReply();

struct Identification {
    bool identified = false;
    bool liveRecords = false;  // as IdentityAnswer
    AckFrame ack;              // the acknowledgement of 'i', as it came
    std::string serialNumber;  // trailing blanks cut; empty unless identified
};
// The whole exchange: requestIdentity, and on 'I' the identity reply and both queues
// flushed.
Identification identifyInstrumentOnLine();
