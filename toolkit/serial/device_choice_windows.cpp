// COMn names on Windows are the system's own device names; the serial line opens them as
// \\.\COMn, which reaches COM10 and above too.
#include "toolkit/serial/device_choice.h"

#include <string>

std::string SystemDeviceForComPort(int port) {
    return "COM" + std::to_string(port);
}
