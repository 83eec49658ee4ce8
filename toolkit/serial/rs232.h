// Serial ports by number (1 to 4), with blocking reads that end at the port's time-out.
//
// ComRd blocks until `count` bytes have arrived or the time-out has passed and returns
// the number read (fewer on a time-out, which is not an error). Writes have left the
// program before the call returns. Every failure is a negative Rs232Error.
// While a call blocks, windows keep repainting but no user input reaches a callback.
#pragma once

#include <memory>
#include <string>

enum Rs232Error {
    kComNoError = 0,
    kComInvalidPort = -2,   // port number outside 1 to 4
    kComNotOpen = -3,       // no OpenComConfig succeeded on this port
    kComCannotOpen = -6,    // the device could not be opened or configured
    kComBadParameter = -7,  // baud rate, parity, data or stop bits not supported
    kComIoError = -10,      // the device failed during a read, write or flush
    kComDeviceLost = -11,   // the device went away (an adapter pulled out)
};

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 4;
inline constexpr double kDefaultComTimeout = 10.0;

int OpenComConfig(int port, const char* deviceName, long baudRate, int parity, int dataBits,
                  int stopBits, int inputQueueSize, int outputQueueSize);
int CloseCom(int port);
int SetComTime(int port, double timeoutSeconds);
int FlushInQ(int port);
int FlushOutQ(int port);
int ComWrtByte(int port, int byte);
int ComWrt(int port, const char* buffer, int count);
int ComRd(int port, char* buffer, int count);

// The device a port name reaches: "COM1" to "COM4" map to QUORVEL_COM1 .. QUORVEL_COM4
// when set, else to /dev/ttyS0 .. /dev/ttyS3 (on Windows, to the system's own COMn).
std::string DeviceForComName(const std::string& comName);

// --- Seam: what stands behind an open port -------------------------------------------

struct LineSettings {
    long baudRate;
    int parity;
    int dataBits;
    int stopBits;
};

// One open serial line. Reads and writes follow the toolkit clock (utility.h).
class SerialLine {
  public:
    virtual ~SerialLine() = default;
    virtual int flushInput() = 0;
    virtual int flushOutput() = 0;
    virtual int write(const char* data, int count) = 0;
    // Blocks until count bytes are read or `timeoutSeconds` have passed; returns the count.
    virtual int read(char* buffer, int count, double timeoutSeconds) = 0;
    // How long a write may wait for the device to take its bytes (the port's time-out).
    virtual void setWriteTimeout(double /*seconds*/) {}
};

// Opens lines for OpenComConfig. The default opens the device through QSerialPort;
// tests install one that connects a port to an in-process instrument.
class SerialBackend {
  public:
    virtual ~SerialBackend() = default;
    // On failure returns nullptr and sets `error` to a negative Rs232Error.
    virtual std::unique_ptr<SerialLine> open(int port, const std::string& deviceName,
                                             const LineSettings& settings, int& error) = 0;
};

// Installs a backend (nullptr restores the default) and closes every open port.
void SetSerialBackend(SerialBackend* backend);
