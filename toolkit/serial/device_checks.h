// What the operating system says about an open serial device that Qt does not. Only the
// QSerialPort line of POSIX systems asks about an open port; every system names the devices
// of its list (deviceOf).
#pragma once

#include <QSerialPort>
#include <QSerialPortInfo>
#include <string>

#include "toolkit/serial/types.h"

// A pseudo-terminal ignores line settings, and some refuse a few of them.
bool isPseudoTerminal(const std::string& device);
// A terminal whose other side has gone (a pseudo-terminal's master closed, an adapter
// pulled out).
bool hasHungUp(const QSerialPort& port);
// The name a port opens the listed device by.
std::string deviceOf(const QSerialPortInfo& info);
// Why `device` did not open, from Qt's error and what the system says of the device.
ComOpenFailure openFailureOf(const std::string& device, QSerialPort::SerialPortError error);
