// One program per serial device, whatever path reaches it: a /dev/serial/by-id link, a
// second name, the device's own path. The POSIX line takes an exclusive flock on a
// descriptor of the device itself before QSerialPort opens it; the lock holds for root as
// for anyone, goes with the process however it ends, and is refused to a second descriptor
// even in the same process. A program that is refused has sent nothing and set nothing:
// it never reaches QSerialPort, which would set the line's terminal settings on opening.
// (Windows opens a COM port for one program at a time by itself: its line needs none.)
#pragma once

#include <string>

// The device a path reaches: the path with every link resolved, or the path as given
// when it reaches nothing.
std::string resolvedDevicePath(const std::string& path);

struct OpenError;

class DeviceLock {
  public:
    DeviceLock() = default;
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // Holds `device` (a resolved path) for this program until destroyed. True when held,
    // or when `device` is no character device (the open that follows tells what it is);
    // false when another descriptor has it, with the reason InUse and who has it in `error`.
    bool take(const std::string& device, OpenError& error);

  private:
    int descriptor_ = -1;
};

// Who has `device` open, as far as the system tells, into `error`'s holder fields.
void findDeviceHolder(const std::string& device, OpenError& error);
