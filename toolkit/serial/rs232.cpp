// The serial operations by port number, on the lines in the port table (com_ports.h).
#include "toolkit/serial/rs232.h"

#include <memory>
#include <string>

#include "toolkit/serial/com_ports.h"
#include "toolkit/serial/serial_backend.h"

namespace {

// The open port for `port`, or nullptr with `status` set to why there is none.
ComPort* openPort(int port, int& status) {
    if (!validComPort(port)) {
        status = kComInvalidPort;
        return nullptr;
    }
    ComPort& p = comPortAt(port);
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

// Marks a call as under way for its whole length.
struct SerialCallNote {
    SerialCallNote() { enterSerialCall(); }
    ~SerialCallNote() { leaveSerialCall(); }
    SerialCallNote(const SerialCallNote&) = delete;
    SerialCallNote& operator=(const SerialCallNote&) = delete;
};

// Passes a line's result on, remembering a lost device.
int noteResult(ComPort& port, int result) {
    if (result == kComDeviceLost)
        port.deviceLost = true;
    return result;
}

}  // namespace

int OpenComConfig(int port, const char* deviceName, long baudRate, int parity, int dataBits,
                  int stopBits, int inputQueueSize, int /*outputQueueSize*/) {
    const SerialCallNote note;
    if (!validComPort(port))
        return kComInvalidPort;
    if (baudRate <= 0 || parity < 0 || parity > 4 || dataBits < 5 || dataBits > 8 || stopBits < 1 ||
        stopBits > 2)
        return kComBadParameter;
    ComPort& p = comPortAt(port);
    p = ComPort{};
    // Without a name the port number says which device is meant.
    const std::string name =
        deviceName && *deviceName ? std::string(deviceName) : "COM" + std::to_string(port);
    SerialBackend& backend = ActiveSerialBackend();
    OpenError error;
    std::unique_ptr<SerialLine> line = backend.open(
        port, name,
        LineSettings{baudRate, parity, dataBits, stopBits, inputQueueSize > 0 ? inputQueueSize : 0},
        error);
    if (!line) {
        const int code = error.code < 0 ? error.code : kComCannotOpen;
        if (code == kComCannotOpen) {
            p.openFailure = error.reason;
            p.holder = error.holder;
        }
        return code;
    }
    line->setWriteTimeout(p.timeout);
    p.line = std::move(line);
    return kComNoError;
}

ComOpenFailure LastComOpenFailure(int port) {
    return validComPort(port) ? comPortAt(port).openFailure : ComOpenFailure::None;
}

ComDeviceHolder LastComOpenHolder(int port) {
    return validComPort(port) ? comPortAt(port).holder : ComDeviceHolder{};
}

int CloseCom(int port) {
    if (!validComPort(port))
        return kComInvalidPort;
    ComPort& p = comPortAt(port);
    if (!p.line)
        return kComNotOpen;
    p = ComPort{};
    return kComNoError;
}

int SetComTime(int port, double timeoutSeconds) {
    const SerialCallNote note;
    int status = kComNoError;
    ComPort* p = openPort(port, status);
    if (!p)
        return status;
    if (!(timeoutSeconds >= 0))
        return kComBadParameter;
    p->timeout = timeoutSeconds;
    p->line->setWriteTimeout(timeoutSeconds);
    return kComNoError;
}

int FlushInQ(int port) {
    const SerialCallNote note;
    int status = kComNoError;
    ComPort* p = openPort(port, status);
    return p ? noteResult(*p, p->line->flushInput()) : status;
}

int FlushOutQ(int port) {
    const SerialCallNote note;
    int status = kComNoError;
    ComPort* p = openPort(port, status);
    return p ? noteResult(*p, p->line->flushOutput()) : status;
}

namespace {

// What a read or write of `count` bytes at `buffer` comes to before the line is touched:
// kComBadParameter for a negative count or a missing buffer, 0 when there is nothing to
// move, else kComTransfer.
constexpr int kComTransfer = 1;
int transferProblem(const char* buffer, int count) {
    if (count < 0 || (!buffer && count > 0))
        return kComBadParameter;
    return count == 0 ? 0 : kComTransfer;
}

}  // namespace

int ComWrt(int port, const char* buffer, int count) {
    const SerialCallNote note;
    int status = kComNoError;
    ComPort* p = openPort(port, status);
    if (!p || (status = transferProblem(buffer, count)) != kComTransfer)
        return status;
    return noteResult(*p, p->line->write(buffer, count));
}

int ComWrtByte(int port, int byte) {
    const char c = static_cast<char>(byte & 0xFF);
    return ComWrt(port, &c, 1);
}

int GetInQLen(int port) {
    const SerialCallNote note;
    int status = kComNoError;
    ComPort* p = openPort(port, status);
    if (!p)
        return status;
    return noteResult(*p, p->line->bytesWaiting());
}

int SetComReadGathering(int port, double seconds) {
    int status = kComNoError;
    ComPort* p = openPort(port, status);
    if (!p)
        return status;
    if (!(seconds >= 0))
        return kComBadParameter;
    p->line->setReadGathering(seconds);
    return kComNoError;
}

int ComRd(int port, char* buffer, int count) {
    const SerialCallNote note;
    int status = kComNoError;
    ComPort* p = openPort(port, status);
    if (!p || (status = transferProblem(buffer, count)) != kComTransfer)
        return status;
    return noteResult(*p, p->line->read(buffer, count, p->timeout));
}
