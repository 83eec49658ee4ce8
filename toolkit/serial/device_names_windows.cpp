// COMn names on Windows are the system's own device names; QSerialPort opens them as
// they stand (COM10 and above included).
#include "toolkit/serial/device_names.h"

std::string DeviceForComName(const std::string& comName) {
    return comName;
}
