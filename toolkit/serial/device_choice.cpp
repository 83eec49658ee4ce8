// The remembered choice lives under "ports/COMn": the device as chosen, and the serial
// number of the USB adapter it was then, which finds the adapter under any later name.
#include "toolkit/serial/device_choice.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <cstdlib>

#include "toolkit/serial/serial_devices.h"

namespace {

// The store the main window keeps its place in: the system's own (the registry on Windows)
// unless another default format was chosen, as the tests do to keep theirs apart.
QSettings toolSettings() {
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Quorvel"),
                     QStringLiteral("Quorvel"));
}

QString key(int port, const char* name) {
    return QStringLiteral("ports/COM%1/%2").arg(port).arg(QLatin1String(name));
}

const SerialDeviceInfo* listed(const std::string& device) {
    const auto& devices = PresentSerialDevices();
    const auto it = std::find_if(devices.begin(), devices.end(),
                                 [&](const SerialDeviceInfo& d) { return d.device == device; });
    return it == devices.end() ? nullptr : &*it;
}

const SerialDeviceInfo* listedBySerialNumber(const std::string& serialNumber) {
    const auto& devices = PresentSerialDevices();
    const auto it = std::find_if(devices.begin(), devices.end(), [&](const SerialDeviceInfo& d) {
        return d.serialNumber == serialNumber;
    });
    return it == devices.end() ? nullptr : &*it;
}

bool isPresent(const std::string& device) {
    return listed(device) || QFileInfo::exists(QString::fromStdString(device));
}

}  // namespace

std::string ComPortVariable(int port) {
    return "QUORVEL_COM" + std::to_string(port);
}

PortDevice DeviceForComPort(int port) {
    if (const char* device = std::getenv(ComPortVariable(port).c_str()); device && *device)
        return {device, DeviceSource::Environment, isPresent(device)};
    QSettings settings = toolSettings();
    const std::string serialNumber =
        settings.value(key(port, "serialNumber")).toString().toStdString();
    if (!serialNumber.empty())
        if (const SerialDeviceInfo* adapter = listedBySerialNumber(serialNumber))
            return {adapter->device, DeviceSource::Chosen, true};
    const std::string chosen = ChosenDeviceForComPort(port);
    if (!chosen.empty())
        return {chosen, DeviceSource::Chosen, isPresent(chosen)};
    const std::string system = SystemDeviceForComPort(port);
    return {system, DeviceSource::System, isPresent(system)};
}

void ChooseDeviceForComPort(int port, const std::string& device) {
    QSettings settings = toolSettings();
    if (device.empty()) {
        settings.remove(QStringLiteral("ports/COM%1").arg(port));
        return;
    }
    settings.setValue(key(port, "device"), QString::fromStdString(device));
    const SerialDeviceInfo* info = listed(device);
    if (info && !info->serialNumber.empty())
        settings.setValue(key(port, "serialNumber"), QString::fromStdString(info->serialNumber));
    else
        settings.remove(key(port, "serialNumber"));
}

std::string ChosenDeviceForComPort(int port) {
    return toolSettings().value(key(port, "device")).toString().toStdString();
}
