// Device checks on Windows: the name a port opens a listed device by, and no device is a
// pseudo-terminal. The checks on an open
// QSerialPort serve the POSIX line only; the Windows line (serial_port_line_windows.cpp)
// tells a removed device and a refused open from the system's own error codes.
#include "toolkit/serial/device_checks.h"

std::string deviceOf(const QSerialPortInfo& info) {
    return info.portName().toStdString();
}

// Windows has no pseudo-terminals; a COM port's device is described by its driver.
bool isPseudoTerminal(const std::string&) {
    return false;
}
