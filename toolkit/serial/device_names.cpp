#include "toolkit/serial/device_names.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/types.h"

namespace {

bool isComName(const std::string& name) {
    return name.size() > 3 && std::toupper(name[0]) == 'C' && std::toupper(name[1]) == 'O' &&
           std::toupper(name[2]) == 'M' &&
           std::all_of(name.begin() + 3, name.end(),
                       [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

std::string DeviceForComName(const std::string& comName) {
    if (!isComName(comName))
        return comName;
    const int number = std::atoi(comName.c_str() + 3);
    if (number < 1)
        return comName;
    if (number <= kLastComPort)
        return DeviceForComPort(number).device;
    if (const char* device = std::getenv(ComPortVariable(number).c_str()); device && *device)
        return device;
    return SystemDeviceForComPort(number);
}
