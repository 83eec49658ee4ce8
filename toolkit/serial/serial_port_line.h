// The default serial backend: on POSIX systems a device (or pseudo-terminal) through
// QSerialPort, on Windows a COM port through the system's own synchronous calls.
#pragma once

#include "toolkit/serial/serial_line.h"

// The backend OpenComConfig uses while no other is installed.
SerialBackend& DefaultSerialBackend();
