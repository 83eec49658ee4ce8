// POSIX systems have no COMn devices: the n-th serial device stands in.
#include <string>

#include "toolkit/serial/device_choice.h"

std::string SystemDeviceForComPort(int port) {
    return "/dev/ttyS" + std::to_string(port - 1);
}
