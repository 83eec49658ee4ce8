// What the main window's status bar says about the link: the port in use and the device it
// reaches, and who answered on it.
#pragma once

#include <string>

#include "toolkit/platform/calendar.h"

// "COMn · device" for the port the last Connect used.
void showPortInStatus(int port, const char* portName);
// Who answered: the serial number of the identity reply.
void showInstrumentInStatus(const char* serialNumber);
// Why nobody answered: the port could not be opened, or no instrument identified itself.
void showPortNotOpenInStatus();
void showNoAnswerInStatus();
// Before any Connect.
void showNotConnectedInStatus();

// What the last Connect came to, as the status bar shows it, for the main page's overview.
enum class LinkShown { NotConnected, PortNotOpen, NoAnswer, Identified };
struct LinkFacts {
    LinkShown shown = LinkShown::NotConnected;
    std::string port;           // "COM1 · /dev/ttyUSB0 (its adapter's description)"
    std::string serialNumber;   // trailing blanks cut
    CalendarTime identifiedAt;  // this computer's time when it answered: the visit's start
};
const LinkFacts& linkFacts();
// One listener, told after every change (nullptr: none).
void setLinkFactsListener(void (*listener)());
