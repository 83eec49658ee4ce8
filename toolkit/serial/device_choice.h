// Which device each of COM1 to COM4 reaches, and the operator's choice of it.
//
// In this order: the environment variable QUORVEL_COMn when set (the scripting way); else
// the operator's choice, remembered between runs (QSettings) and keyed by the adapter's USB
// serial number where it has one, so that it follows the adapter into another socket;
// else the system's own device (/dev/ttyS{n-1} on Linux, COMn on Windows).
#pragma once

#include <string>

enum class DeviceSource { Environment, Chosen, System };

struct PortDevice {
    std::string device;  // what the port opens
    DeviceSource source = DeviceSource::System;
    bool present = false;  // listed among the devices present, or a device file that exists
};

// For a port number 1 to 4.
PortDevice DeviceForComPort(int port);
// Remembers `device` for `port`, with its USB serial number when the device list knows
// one; an empty device forgets the choice, so the system's device is reached again.
void ChooseDeviceForComPort(int port, const std::string& device);
// The device the operator chose for `port` as remembered (empty: none), whatever wins.
std::string ChosenDeviceForComPort(int port);

// "QUORVEL_COM1" for 1.
std::string ComPortVariable(int port);
// The system's own device for COMn, any n from 1.
std::string SystemDeviceForComPort(int port);
