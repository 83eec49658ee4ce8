// One program per serial device, whatever path reaches it: a /dev/serial/by-id link, a
// second name, the device's own path. The line takes the lock before it opens the device,
// so a program that is refused has sent nothing and set nothing; the lock goes with the
// process however it ends.
//
// On POSIX systems it is an exclusive flock on a descriptor of the device itself: it holds
// for root as for anyone, and is refused to a second descriptor even in the same process.
// On Windows, where the system opens a COM port for one program at a time already (though
// Wine does not), it is a named object of the session, keyed by the port's system path,
// that also tells a second program who holds the port.
#pragma once

#include <cstdint>
#include <string>

struct OpenError;

// The device a path reaches: the path with every link resolved, or the path as given
// when it reaches nothing (and on Windows, where a COM port's name has no links).
std::string resolvedDevicePath(const std::string& path);

class DeviceLock {
  public:
    DeviceLock() = default;
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // Holds `device` (a resolved path) for this program until destroyed. True when held,
    // or when no lock is to be had (a path that is no device: the open that follows tells
    // what it is); false when another open has it, with the reason InUse and who has it in
    // `error`.
    bool take(const std::string& device, OpenError& error);

  private:
    std::intptr_t held_ = -1;  // the device's descriptor, or the named object's handle
};

// Who has `device` open, as far as the system tells, into `error`'s holder.
void findDeviceHolder(const std::string& device, OpenError& error);
