// Device checks on POSIX systems: the resolved device path, and a non-blocking poll.
#include <poll.h>
#include <unistd.h>

#include <cstdlib>

#include "toolkit/platform/file_system.h"
#include "toolkit/serial/device_checks.h"

bool isPseudoTerminal(const std::string& device) {
    char* resolved = ::realpath(device.c_str(), nullptr);
    const std::string path = resolved ? resolved : device;
    std::free(resolved);
    return path.rfind("/dev/pts/", 0) == 0;
}

std::string deviceOf(const QSerialPortInfo& info) {
    return info.systemLocation().toStdString();
}

bool hasHungUp(const QSerialPort& port) {
    pollfd fd{static_cast<int>(port.handle()), POLLIN, 0};
    return fd.fd >= 0 && ::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

ComOpenFailure openFailureOf(const std::string& device, QSerialPort::SerialPortError error) {
    switch (GetPathKind(device.c_str())) {
        case PathKind::Directory:
            return ComOpenFailure::Directory;
        case PathKind::Regular:
            return ComOpenFailure::RegularFile;
        case PathKind::Fifo:
            return ComOpenFailure::Fifo;
        case PathKind::Socket:
            return ComOpenFailure::Socket;
        case PathKind::Other:
            return ComOpenFailure::NotDevice;
        default:
            break;
    }
    if (error == QSerialPort::DeviceNotFoundError || ::access(device.c_str(), F_OK) != 0)
        return ComOpenFailure::Missing;
    if (::access(device.c_str(), R_OK | W_OK) != 0)
        return ComOpenFailure::NoPermission;
    // Qt says "permission" for a device another program holds (its lock file, or the
    // terminal's exclusive mode) as well: the user may use the device, so it is taken.
    if (error == QSerialPort::PermissionError)
        return ComOpenFailure::InUse;
    return ComOpenFailure::Unknown;
}
