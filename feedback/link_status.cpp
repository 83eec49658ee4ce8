#include "feedback/link_status.h"

#include <string>

#include "toolkit/panels/shell.h"
#include "toolkit/serial/rs232.h"

void showPortInStatus(int port, const char* portName) {
    if (port < kFirstComPort || port > kLastComPort) {
        SetStatusField(StatusField::Port, ("COM" + std::to_string(port)).c_str());
        return;
    }
    // A port that reaches the system's COM port of its own name (Windows) is named once.
    const std::string device = DeviceForComName(portName);
    const std::string text =
        device == portName ? device : std::string(portName) + " \u00b7 " + device;
    SetStatusField(StatusField::Port, text.c_str());
}

void showInstrumentInStatus(const char* serialNumber) {
    std::string text = std::string("Quorvel ") + serialNumber;
    text.erase(text.find_last_not_of(' ') + 1);  // the serial number is padded to 14
    SetStatusField(StatusField::Instrument, text.c_str());
}

void showPortNotOpenInStatus() {
    SetStatusField(StatusField::Instrument, "port not open");
}

void showNoAnswerInStatus() {
    SetStatusField(StatusField::Instrument, "no answer");
}

void showNotConnectedInStatus() {
    SetStatusField(StatusField::Port, "not connected");
    SetStatusField(StatusField::Instrument, "");
}
