// COMn names on Windows are the system's own device names; QSerialPort opens them as
// they stand (COM10 and above included).
#include <string>

#include "toolkit/serial/device_choice.h"

std::string SystemDeviceForComPort(int port) {
    return "COM" + std::to_string(port);
}
