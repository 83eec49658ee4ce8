// Device checks on Windows, which has no pseudo-terminals. The tool's own line on Windows
// (serial_port_line_windows.cpp) tells a removed device and a refused open from the system's
// error codes; these answer for a QSerialPort the same questions as on POSIX systems.
#include "toolkit/serial/device_checks.h"

bool isPseudoTerminal(const std::string& /*device*/) {
    return false;
}

std::string deviceOf(const QSerialPortInfo& info) {
    return info.portName().toStdString();
}

bool hasHungUp(const QSerialPort& /*port*/) {
    return false;
}

// Windows opens a COM port for one program at a time: access denied means it is taken.
ComOpenFailure openFailureOf(const std::string& /*device*/, QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return ComOpenFailure::Missing;
        case QSerialPort::PermissionError:
            return ComOpenFailure::InUse;
        default:
            return ComOpenFailure::Unknown;
    }
}
