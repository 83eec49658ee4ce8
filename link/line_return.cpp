#include "link/line_return.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "link/identify.h"
#include "toolkit/platform/durations.h"
#include "toolkit/platform/file_system.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/device_names.h"
#include "toolkit/serial/serial_devices.h"
#include "toolkit/serial/types.h"

namespace {

// How often the list of devices is looked at while the adapter is away: an adapter that
// comes back is found within this, and the system is not asked more than it needs to be.
constexpr double kLookEvery = 1.0;
// After an instrument that did not answer: each try takes the wake-up's two seconds and
// the acknowledgement's time-out, and a button press or the power's return takes a while.
constexpr double kAnswerRetryPause = 5.0;

const SerialDeviceInfo* listed(const std::vector<SerialDeviceInfo>& devices,
                               const std::string& device) {
    const auto it = std::find_if(devices.begin(), devices.end(),
                                 [&](const SerialDeviceInfo& d) { return d.device == device; });
    return it == devices.end() ? nullptr : &*it;
}

}  // namespace

LineAdapter adapterOfLink() {
    LineAdapter adapter;
    adapter.device = linkDevice.empty() ? DeviceForComPort(comPort).device : linkDevice;
    if (const SerialDeviceInfo* info = listed(PresentSerialDevices(), adapter.device)) {
        adapter.serialNumber = info->serialNumber;
        adapter.name = !info->description.empty() ? info->description : info->manufacturer;
    }
    if (adapter.name.empty())
        adapter.name = adapter.device;
    return adapter;
}

int reopenLinkAt(const std::string& device) {
    // A port named COM1 to COM4 finds its adapter under a new name by itself when the adapter
    // was chosen for it by its USB serial number. One left to the system's own device (COMn
    // on Windows) does not: it is opened where the adapter is now, as is a device a command
    // named.
    if (!linkDevice.empty())
        linkDevice = device;
    const bool byPort = linkDevice.empty() && DeviceForComName(deviceName) == device;
    return openLinkPort(byPort ? deviceName : device.c_str());
}

std::string presentDeviceOf(const LineAdapter& adapter) {
    RefreshSerialDevices();
    const std::vector<SerialDeviceInfo>& devices = PresentSerialDevices();
    if (!adapter.serialNumber.empty()) {
        const auto it = std::find_if(
            devices.begin(), devices.end(),
            [&](const SerialDeviceInfo& d) { return d.serialNumber == adapter.serialNumber; });
        return it == devices.end() ? std::string() : it->device;
    }
    if (listed(devices, adapter.device) || GetPathKind(adapter.device.c_str()) != PathKind::Absent)
        return adapter.device;
    return {};
}

LineReturnWatch::LineReturnWatch(LineAdapter adapter, std::string serialNumber,
                                 StreamSettings settings, double lostAt)
    : adapter_(std::move(adapter)),
      serialNumber_(std::move(serialNumber)),
      settings_(settings),
      lostAt_(lostAt),
      nextLook_(lostAt) {}

ReturnStep LineReturnWatch::look(double now) {
    if (now < nextLook_)
        return ReturnStep::Waiting;
    nextLook_ = now + kLookEvery;
    const std::string device = presentDeviceOf(adapter_);
    if (device.empty())
        return ReturnStep::Waiting;
    lostAgain_ = false;
    const ReturnStep step = returnExchange(device);
    if (step == ReturnStep::Waiting && !lostAgain_) {
        ++silentReturns_;
        nextLook_ = now + kAnswerRetryPause;
    }
    return step;
}

// As a connect: the port opened, the wake-up and 'i'; then, for the same instrument, the
// block as a start reads it, and 'g'.
ReturnStep LineReturnWatch::returnExchange(const std::string& device) {
    if (reopenLinkAt(device) < 0)
        return ReturnStep::Waiting;
    const Identification id = identifyInstrumentOnLine();
    // A line lost in the identity reply leaves no serial number to compare.
    if (!id.identified || lostAgain())
        return ReturnStep::Waiting;
    answered_ = id.serialNumber;
    // A run begun without an identification knows no serial number to hold the return to.
    if (!serialNumber_.empty() && answered_ != serialNumber_)
        return ReturnStep::OtherInstrument;
    // A line lost again in the middle of the exchange (a connector that wobbles, a hub that
    // resets) is waited for as the first loss was; only the instrument's own refusal ends
    // the run.
    if (!readStreamSettings(answeredSettings_, read_))
        return lostAgain() ? ReturnStep::Waiting : ReturnStep::Refused;
    if (answeredSettings_.twoValues != settings_.twoValues ||
        answeredSettings_.lengthTenths != settings_.lengthTenths)
        return ReturnStep::OtherRecords;
    if (startStream(ack_))
        return ReturnStep::Resumed;
    return lostAgain() ? ReturnStep::Waiting : ReturnStep::Refused;
}

bool LineReturnWatch::lostAgain() {
    lostAgain_ = comStatus == kComDeviceLost;
    return lostAgain_;
}

namespace {

std::string waitingFor(const LineAdapter& adapter, const std::string& port) {
    const std::string& name = adapter.name;
    return name.empty() || name == port ? port : port + " (" + name + ")";
}

std::string waitingFor(const LineReturnWatch& watch, const std::string& port) {
    return waitingFor(watch.adapter(), port);
}

std::string formWords(const StreamSettings& settings) {
    char text[64];
    std::snprintf(text, sizeof text, "%s, gauge %.1f",
                  settings.twoValues ? "two values" : "one value", settings.lengthTenths * 0.1);
    return text;
}

}  // namespace

std::string recordsWords(unsigned long records) {
    return std::to_string(records) + (records == 1 ? " record" : " records");
}

std::string lineLostText(const LineReturnWatch& watch, const std::string& port, double wallTime,
                         unsigned long records) {
    return "line lost at " + LocalTimeOfDay(wallTime) + " after " + recordsWords(records) +
           "; waiting for " + waitingFor(watch, port) + " to come back";
}

std::string lineWaitingText(const LineReturnWatch& watch, const std::string& port,
                            double lostWallTime, double waited) {
    const std::string state =
        watch.silentReturns() > 0
            ? waitingFor(watch, port) + " is back but the instrument does not answer: asleep?"
            : "waiting for " + waitingFor(watch, port) + " to come back";
    return "line lost at " + LocalTimeOfDay(lostWallTime) + "; " + state + " (waited " +
           DurationWords(waited) + ")";
}

std::string lineBackText(double wallTime, double gap, unsigned long records) {
    return "line back at " + LocalTimeOfDay(wallTime) + " after a gap of " + DurationWords(gap) +
           ", " + recordsWords(records) + " before it; the run goes on";
}

std::string otherInstrumentText(const LineReturnWatch& watch, const std::string& port,
                                const std::string& serialNumber) {
    return "another instrument answered on " + port + ": serial number " +
           watch.answeredSerialNumber() + " instead of " + serialNumber + "; the run ends";
}

std::string otherRecordsText(const LineReturnWatch& watch, const std::string& port,
                             const StreamSettings& run) {
    return "the instrument on " + port + " now sends other records (" +
           formWords(watch.answeredSettings()) + ") than the run's (" + formWords(run) +
           "); the run ends";
}

std::string adapterAwayText(const LineAdapter& adapter, const std::string& port,
                            double lostWallTime) {
    return "line lost at " + LocalTimeOfDay(lostWallTime) + "; waiting for " +
           waitingFor(adapter, port) + " to come back";
}

std::string adapterBackText(const LineAdapter& adapter, const std::string& port,
                            double lostWallTime) {
    return "line lost at " + LocalTimeOfDay(lostWallTime) + "; " + waitingFor(adapter, port) +
           " is back: the next action reconnects";
}

std::string otherInstrumentBeforeActionText(const std::string& port, const std::string& answered,
                                            const std::string& serialNumber) {
    return "another instrument answered on " + port + ": serial number " + answered +
           " instead of " + serialNumber + "; nothing was done (Connect to use it)";
}
