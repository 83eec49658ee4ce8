// The default serial backend: a real device (or pseudo-terminal) through QSerialPort.
#pragma once

#include "toolkit/serial/serial_line.h"

class QtSerialBackend : public SerialBackend {
  public:
    std::unique_ptr<SerialLine> open(int port, const std::string& deviceName,
                                     const LineSettings& settings, OpenError& error) override;
};

// The backend OpenComConfig uses while no other is installed.
SerialBackend& DefaultSerialBackend();
