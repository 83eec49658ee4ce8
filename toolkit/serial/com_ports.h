// The table of serial ports 1 to 4: each an optional open line and its time-out.
//
// A port is open from a successful OpenComConfig until CloseCom, a failed reopen or a
// change of backend, and starts with the default time-out. Once its line reports the
// device lost, every call on the port says so without touching the line again, until the
// port is opened anew.
#pragma once

#include <memory>

#include "toolkit/serial/serial_line.h"
#include "toolkit/serial/types.h"

struct ComPort {
    std::unique_ptr<SerialLine> line;
    double timeout = kDefaultComTimeout;
    bool deviceLost = false;
    ComOpenFailure openFailure = ComOpenFailure::None;  // of the latest OpenComConfig
    ComDeviceHolder holder;                             // for an openFailure of InUse
};

bool validComPort(int port);
// The entry of a valid port number.
ComPort& comPortAt(int port);
// Closes every port, leaving each as if never opened.
void closeAllComPorts();
// Every serial call notes its start and end, so that background work keeps away from the
// line while a call blocks and for a while after.
void enterSerialCall();
void leaveSerialCall();
double secondsSinceSerialCall();  // 0 during a call; large before the first
