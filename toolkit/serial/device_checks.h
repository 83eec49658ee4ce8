// What the operating system says about an open serial device that Qt does not.
#pragma once

#include <QSerialPort>
#include <string>

// A pseudo-terminal ignores line settings, and some refuse a few of them.
bool isPseudoTerminal(const std::string& device);
// A terminal whose other side has gone (a pseudo-terminal's master closed).
bool hasHungUp(const QSerialPort& port);
