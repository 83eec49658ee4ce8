// The Ports… dialog: the serial devices present, and the device each of COM1 to COM4
// reaches, which the operator may change (device_choice.h keeps the choice).
//
// Modal. Devices that come or go while it is open show up at once (serial_devices.h).
#pragma once

// True when the operator kept the changes (OK), false after Cancel.
bool RunPortsDialog();
