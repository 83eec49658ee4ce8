// The port table.
#include "toolkit/serial/com_ports.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>

namespace {
std::array<ComPort, kLastComPort - kFirstComPort + 1> ports;
std::optional<std::chrono::steady_clock::time_point> latestCall;
int callsUnderWay = 0;
}  // namespace

void enterSerialCall() {
    ++callsUnderWay;
    latestCall = std::chrono::steady_clock::now();
}

void leaveSerialCall() {
    --callsUnderWay;
    latestCall = std::chrono::steady_clock::now();
}

double secondsSinceSerialCall() {
    if (callsUnderWay > 0)
        return 0;
    if (!latestCall)
        return 1e9;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - *latestCall).count();
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
