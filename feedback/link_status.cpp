#include "feedback/link_status.h"

#include <string>

#include "toolkit/panels/shell.h"
#include "toolkit/serial/device_names.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_devices.h"

namespace {

LinkFacts facts;
void (*factsListener)() = nullptr;

void factsChanged() {
    if (factsListener)
        factsListener();
}

// The adapter behind a device, as the system describes it: "FT232R USB UART, FTDI".
std::string adapterOf(const std::string& device) {
    for (const SerialDeviceInfo& info : PresentSerialDevices()) {
        if (info.device != device)
            continue;
        std::string words = info.description;
        if (!info.manufacturer.empty() && words.find(info.manufacturer) == std::string::npos)
            words += (words.empty() ? "" : ", ") + info.manufacturer;
        return words;
    }
    return {};
}

}  // namespace

void showPortInStatus(int port, const char* portName) {
    facts = {};
    if (port < kFirstComPort || port > kLastComPort) {
        SetStatusField(StatusField::Port, ("COM" + std::to_string(port)).c_str());
        facts.port = "COM" + std::to_string(port);
        return;
    }
    // A port that reaches the system's COM port of its own name (Windows) is named once.
    const std::string device = DeviceForComName(portName);
    const std::string text =
        device == portName ? device : std::string(portName) + " \u00b7 " + device;
    SetStatusField(StatusField::Port, text.c_str());
    const std::string adapter = adapterOf(device);
    facts.port = adapter.empty() ? text : text + " (" + adapter + ")";
}

void showInstrumentInStatus(const char* serialNumber) {
    std::string text = std::string("Quorvel ") + serialNumber;
    text.erase(text.find_last_not_of(' ') + 1);  // the serial number is padded to 14
    SetStatusField(StatusField::Instrument, text.c_str());
    facts.shown = LinkShown::Identified;
    facts.identifiedAt = ComputerLocalTime();
    facts.serialNumber = serialNumber;
    facts.serialNumber.erase(facts.serialNumber.find_last_not_of(' ') + 1);
    factsChanged();
}

void showPortNotOpenInStatus() {
    SetStatusField(StatusField::Instrument, "port not open");
    facts.shown = LinkShown::PortNotOpen;
    factsChanged();
}

void showNoAnswerInStatus() {
    SetStatusField(StatusField::Instrument, "no answer");
    facts.shown = LinkShown::NoAnswer;
    factsChanged();
}

void showNotConnectedInStatus() {
    SetStatusField(StatusField::Port, "not connected");
    SetStatusField(StatusField::Instrument, "");
    facts = {};
    factsChanged();
}

const LinkFacts& linkFacts() {
    return facts;
}

void setLinkFactsListener(void (*listener)()) {
    factsListener = listener;
}
