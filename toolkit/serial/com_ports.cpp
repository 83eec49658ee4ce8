// The port table.
#include "toolkit/serial/com_ports.h"

#include <array>
#include <cstddef>

namespace {
std::array<ComPort, kLastComPort - kFirstComPort + 1> ports;
}

bool validComPort(int port) {
    return port >= kFirstComPort && port <= kLastComPort;
}

ComPort& comPortAt(int port) {
    return ports[static_cast<size_t>(port - kFirstComPort)];
}

void closeAllComPorts() {
    for (ComPort& p : ports) p = ComPort{};
}
