// Device checks on Windows, which has no pseudo-terminals; a device that goes away (an
// adapter pulled out) is reported by QSerialPort itself as a resource error.
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
