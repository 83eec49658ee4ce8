// Device checks on Windows: the name a port opens a listed device by. The checks on an open
// QSerialPort serve the POSIX line only; the Windows line (serial_port_line_windows.cpp)
// tells a removed device and a refused open from the system's own error codes.
#include "toolkit/serial/device_checks.h"

std::string deviceOf(const QSerialPortInfo& info) {
    return info.portName().toStdString();
}
