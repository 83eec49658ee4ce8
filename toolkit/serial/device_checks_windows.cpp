// Device checks on Windows, which has no pseudo-terminals; a device that goes away (an
// adapter pulled out) is reported by QSerialPort itself as a resource error.
#include "toolkit/serial/device_checks.h"

bool isPseudoTerminal(const std::string& /*device*/) {
    return false;
}

bool hasHungUp(const QSerialPort& /*port*/) {
    return false;
}
