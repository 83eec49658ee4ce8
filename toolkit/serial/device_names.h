// The device a port name reaches.
#pragma once

#include <string>

// "COM1" to "COM4" reach the device DeviceForComPort gives (device_choice.h); a higher
// COMn its QUORVEL_COMn when set, else the system's own. Any other name is a device already.
std::string DeviceForComName(const std::string& comName);
