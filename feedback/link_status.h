// What the main window's status bar says about the link: the port in use and the device it
// reaches, and who answered on it.
#pragma once

// "COMn · device" for the port the last Connect used.
void showPortInStatus(int port, const char* portName);
// Who answered: the serial number of the identity reply.
void showInstrumentInStatus(const char* serialNumber);
// Why nobody answered: the port could not be opened, or no instrument identified itself.
void showPortNotOpenInStatus();
void showNoAnswerInStatus();
// Before any Connect.
void showNotConnectedInStatus();
