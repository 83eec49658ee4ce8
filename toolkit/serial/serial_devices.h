// The serial devices present, and the watch that notices them come and go.
//
// The list comes from QSerialPortInfo unless a test installs a lister of its own. The
// watch looks again once a second while the event loop runs, but never within a second of
// a serial call, so it costs nothing during an exchange or a live run. Listeners run after
// a look that found the list changed, whoever asked for the look.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct SerialDeviceInfo {
    std::string device;  // what a port opens: "/dev/ttyUSB0", "COM3"
    std::string description;
    std::string manufacturer;
    std::string serialNumber;  // a USB adapter's own; empty for other devices
    bool operator==(const SerialDeviceInfo&) const = default;
};

using SerialDeviceLister = std::function<std::vector<SerialDeviceInfo>()>;
// Where the list comes from; an empty lister restores QSerialPortInfo. Looks at once.
void SetSerialDeviceLister(SerialDeviceLister lister);

// The devices at the latest look; the first call looks.
const std::vector<SerialDeviceInfo>& PresentSerialDevices();
// Looks again; true (after the listeners ran) when the list changed.
bool RefreshSerialDevices();

// Listeners of changes to the list; the id removes one again.
int AddSerialDeviceListener(std::function<void()> listener);
void RemoveSerialDeviceListener(int id);
// Starts the once-a-second look (needs the application object); idempotent.
void WatchSerialDevices();
