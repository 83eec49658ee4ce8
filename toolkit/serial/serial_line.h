// The seam behind an open port: the line a port talks through and the backend that opens
// it. The default backend opens a real device through QSerialPort; tests install one
// (serial_backend.h) that connects a port to an in-process instrument.
#pragma once

#include <memory>
#include <string>

#include "toolkit/serial/types.h"

struct LineSettings {
    long baudRate;
    int parity;
    int dataBits;
    int stopBits;
    int inputQueueSize = 0;  // at most this many received bytes are kept; 0: no bound
};

// Why a line did not open: a negative Rs232Error and, for kComCannotOpen, the reason.
struct OpenError {
    int code = kComCannotOpen;
    ComOpenFailure reason = ComOpenFailure::Unknown;
    ComDeviceHolder holder;  // for InUse
};

// One open serial line. Reads and writes follow the toolkit clock (platform/clock.h).
class SerialLine {
  public:
    virtual ~SerialLine() = default;
    virtual int flushInput() = 0;
    virtual int flushOutput() = 0;
    virtual int write(const char* data, int count) = 0;
    // Blocks until count bytes are read or `timeoutSeconds` have passed; returns the count.
    virtual int read(char* buffer, int count, double timeoutSeconds) = 0;
    // How many received bytes a read would take at once, without waiting; negative when
    // the line has failed.
    virtual int bytesWaiting() = 0;
    // How long a write may wait for the device to take its bytes (the port's time-out).
    virtual void setWriteTimeout(double /*seconds*/) {}
    // How long a read that must wait lets characters gather before it looks again.
    virtual void setReadGathering(double /*seconds*/) {}
};

// Opens lines for OpenComConfig.
class SerialBackend {
  public:
    virtual ~SerialBackend() = default;
    // On failure returns nullptr and says why in `error`.
    virtual std::unique_ptr<SerialLine> open(int port, const std::string& deviceName,
                                             const LineSettings& settings, OpenError& error) = 0;
};
