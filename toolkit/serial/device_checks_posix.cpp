// Device checks on POSIX systems: the resolved device path, and a non-blocking poll.
#include <poll.h>

#include <cstdlib>

#include "toolkit/serial/device_checks.h"

bool isPseudoTerminal(const std::string& device) {
    char* resolved = ::realpath(device.c_str(), nullptr);
    const std::string path = resolved ? resolved : device;
    std::free(resolved);
    return path.rfind("/dev/pts/", 0) == 0;
}

bool hasHungUp(const QSerialPort& port) {
    pollfd fd{static_cast<int>(port.handle()), POLLIN, 0};
    return fd.fd >= 0 && ::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLNVAL));
}
