// The serial ports 1 to 4: each an optional open line and its time-out.
//
// A port is open from a successful OpenComConfig until CloseCom, a failed reopen or a
// change of backend, and starts with the default time-out. Once its line reports the device lost,
// every call on the port says so without touching the line again, until the port is opened anew.
#include "toolkit/serial/rs232.h"

#include <array>

#include "toolkit/serial/serial_port_line.h"

namespace {

struct Port {
    std::unique_ptr<SerialLine> line;
    double timeout = kDefaultComTimeout;
    bool deviceLost = false;
};

std::array<Port, kLastComPort - kFirstComPort + 1> ports;
SerialBackend* installedBackend = nullptr;

bool validPort(int port) {
    return port >= kFirstComPort && port <= kLastComPort;
}

Port& portAt(int port) {
    return ports[static_cast<size_t>(port - kFirstComPort)];
}

// The open port for `port`, or nullptr with `status` set to why there is none.
Port* openPort(int port, int& status) {
    if (!validPort(port)) {
        status = kComInvalidPort;
        return nullptr;
    }
    Port& p = portAt(port);
    if (!p.line) {
        status = kComNotOpen;
        return nullptr;
    }
    if (p.deviceLost) {
        status = kComDeviceLost;
        return nullptr;
    }
    return &p;
}

// Passes a line's result on, remembering a lost device.
int noteResult(Port& port, int result) {
    if (result == kComDeviceLost)
        port.deviceLost = true;
    return result;
}

void closeAllPorts() {
    for (Port& p : ports) p = Port{};
}

}  // namespace

void SetSerialBackend(SerialBackend* backend) {
    closeAllPorts();
    installedBackend = backend;
}

int OpenComConfig(int port, const char* deviceName, long baudRate, int parity, int dataBits,
                  int stopBits, int /*inputQueueSize*/, int /*outputQueueSize*/) {
    if (!validPort(port))
        return kComInvalidPort;
    if (baudRate <= 0 || parity < 0 || parity > 4 || dataBits < 5 || dataBits > 8 || stopBits < 1 ||
        stopBits > 2)
        return kComBadParameter;
    Port& p = portAt(port);
    p = Port{};
    // Without a name the port number says which device is meant.
    const std::string name =
        deviceName && *deviceName ? std::string(deviceName) : "COM" + std::to_string(port);
    SerialBackend& backend = installedBackend ? *installedBackend : DefaultSerialBackend();
    int error = kComCannotOpen;
    std::unique_ptr<SerialLine> line =
        backend.open(port, name, LineSettings{baudRate, parity, dataBits, stopBits}, error);
    if (!line)
        return error < 0 ? error : kComCannotOpen;
    line->setWriteTimeout(p.timeout);
    p.line = std::move(line);
    return kComNoError;
}

int CloseCom(int port) {
    if (!validPort(port))
        return kComInvalidPort;
    Port& p = portAt(port);
    if (!p.line)
        return kComNotOpen;
    p = Port{};
    return kComNoError;
}

int SetComTime(int port, double timeoutSeconds) {
    int status = kComNoError;
    Port* p = openPort(port, status);
    if (!p)
        return status;
    if (!(timeoutSeconds >= 0))
        return kComBadParameter;
    p->timeout = timeoutSeconds;
    p->line->setWriteTimeout(timeoutSeconds);
    return kComNoError;
}

int FlushInQ(int port) {
    int status = kComNoError;
    Port* p = openPort(port, status);
    return p ? noteResult(*p, p->line->flushInput()) : status;
}

int FlushOutQ(int port) {
    int status = kComNoError;
    Port* p = openPort(port, status);
    return p ? noteResult(*p, p->line->flushOutput()) : status;
}

int ComWrt(int port, const char* buffer, int count) {
    int status = kComNoError;
    Port* p = openPort(port, status);
    if (!p)
        return status;
    if (count < 0 || (!buffer && count > 0))
        return kComBadParameter;
    if (count == 0)
        return 0;
    return noteResult(*p, p->line->write(buffer, count));
}

int ComWrtByte(int port, int byte) {
    const char c = static_cast<char>(byte & 0xFF);
    return ComWrt(port, &c, 1);
}

int ComRd(int port, char* buffer, int count) {
    int status = kComNoError;
    Port* p = openPort(port, status);
    if (!p)
        return status;
    if (count < 0 || (!buffer && count > 0))
        return kComBadParameter;
    if (count == 0)
        return 0;
    return noteResult(*p, p->line->read(buffer, count, p->timeout));
}
