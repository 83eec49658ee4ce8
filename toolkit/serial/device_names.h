// The device a port name reaches.
#pragma once

#include <string>

// "COM1" to "COM4" map to QUORVEL_COM1 .. QUORVEL_COM4 when set, else to /dev/ttyS0 ..
// /dev/ttyS3 (on Windows, to the system's own COMn). Any other name is a device already.
std::string DeviceForComName(const std::string& comName);
