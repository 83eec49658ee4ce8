// The choice of serial backend.
#include "toolkit/serial/serial_backend.h"

#include "toolkit/serial/com_ports.h"
#include "toolkit/serial/serial_port_line.h"

namespace {
SerialBackend* installedBackend = nullptr;
}

void SetSerialBackend(SerialBackend* backend) {
    closeAllComPorts();
    installedBackend = backend;
}

SerialBackend& ActiveSerialBackend() {
    return installedBackend ? *installedBackend : DefaultSerialBackend();
}
