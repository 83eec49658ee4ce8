#include "toolkit/serial/serial_devices.h"

#include <QSerialPortInfo>
#include <QTimer>
#include <map>
#include <optional>

#include "toolkit/serial/com_ports.h"
#include "toolkit/serial/device_checks.h"

namespace {

constexpr int kWatchIntervalMs = 1000;
constexpr double kQuietBeforeLook = 1.0;  // seconds since the latest serial call

std::vector<SerialDeviceInfo> systemDevices() {
    std::vector<SerialDeviceInfo> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back({deviceOf(info), info.description().toStdString(),
                           info.manufacturer().toStdString(), info.serialNumber().toStdString()});
    return devices;
}

struct DeviceList {
    SerialDeviceLister lister;
    std::optional<std::vector<SerialDeviceInfo>> devices;
    std::map<int, std::function<void()>> listeners;
    int nextId = 1;
    QTimer* timer = nullptr;
};

DeviceList& list() {
    static DeviceList l;
    return l;
}

std::vector<SerialDeviceInfo> look() {
    return list().lister ? list().lister() : systemDevices();
}

}  // namespace

void SetSerialDeviceLister(SerialDeviceLister lister) {
    list().lister = std::move(lister);
    RefreshSerialDevices();
}

const std::vector<SerialDeviceInfo>& PresentSerialDevices() {
    if (!list().devices)
        list().devices = look();
    return *list().devices;
}

bool RefreshSerialDevices() {
    std::vector<SerialDeviceInfo> now = look();
    if (list().devices && *list().devices == now)
        return false;
    list().devices = std::move(now);
    // A listener may add or remove listeners: run a copy.
    const auto listeners = list().listeners;
    for (const auto& entry : listeners) entry.second();
    return true;
}

int AddSerialDeviceListener(std::function<void()> listener) {
    const int id = list().nextId++;
    list().listeners[id] = std::move(listener);
    return id;
}

void RemoveSerialDeviceListener(int id) {
    list().listeners.erase(id);
}

void WatchSerialDevices() {
    if (list().timer)
        return;
    list().timer = new QTimer;
    QObject::connect(list().timer, &QTimer::timeout, [] {
        if (secondsSinceSerialCall() >= kQuietBeforeLook)
            RefreshSerialDevices();
    });
    list().timer->start(kWatchIntervalMs);
}
