#include "feedback/line_lost_watch.h"

#include <cstring>
#include <optional>
#include <string>

#include "feedback/connect_panel.h"
#include "feedback/messages.h"
#include "link/identify.h"
#include "link/line_return.h"
#include "link/link_state.h"
#include "toolkit/panels/shell.h"
#include "toolkit/platform/clock.h"

namespace {

// An adapter put back is named within a quarter of a second; listing the devices costs
// next to nothing and touches no port.
constexpr double kLookEvery = 0.25;

struct Watch {
    LineAdapter adapter;
    std::string serialNumber;  // of the instrument identified before the loss; may be empty
    double lostWallTime;
    bool back = false;  // as the status bar says it
};

std::optional<Watch> watch;
unsigned long generation = 0;

void showState() {
    const std::string text =
        watch->back ? adapterBackText(watch->adapter, portLabel(), watch->lostWallTime)
                    : adapterAwayText(watch->adapter, portLabel(), watch->lostWallTime);
    SetStatusField(StatusField::Instrument, text.c_str());
}

void look(unsigned long of) {
    if (!watch || generation != of)
        return;
    const bool back = !presentDeviceOf(watch->adapter).empty();
    if (back != watch->back) {
        watch->back = back;
        showState();
    }
    ToolkitClock& clock = CurrentClock();
    clock.callAt(clock.now() + kLookEvery, [of] { look(of); });
}

void startLooks() {
    const unsigned long of = ++generation;
    ToolkitClock& clock = CurrentClock();
    clock.callAt(clock.now() + kLookEvery, [of] { look(of); });
}

// What Connect shows of an instrument that answered.
void showInstrument(const std::string& serialNumber) {
    SetStatusField(StatusField::Instrument, ("Quorvel " + serialNumber).c_str());
}

}  // namespace

void noteLineLost(double lostWallTime) {
    if (watch)
        return;
    watch = Watch{adapterOfLink(), identifiedSerialNumber, lostWallTime};
    showState();
    startLooks();
}

bool reconnectBeforeAction() {
    if (!watch)
        return true;
    const std::string device = presentDeviceOf(watch->adapter);
    if (device.empty())
        return true;
    // No look while the line is taken; they go on if the watch does.
    ++generation;
    const Watch before = *watch;
    if (reopenLinkAt(device) < 0) {
        clearMessages();
        reportErrorCode(comStatus);
        startLooks();
        return false;
    }
    clearMessages();
    if (!identifyInstrument()) {
        startLooks();
        return false;
    }
    const std::string answered = identifiedSerialNumber;
    if (!before.serialNumber.empty() && answered != before.serialNumber) {
        // The instrument the window knows stays the one of the loss until Connect.
        std::strncpy(identifiedSerialNumber, before.serialNumber.c_str(),
                     sizeof identifiedSerialNumber - 1);
        addMessageText(
            otherInstrumentBeforeActionText(portLabel(), answered, before.serialNumber).c_str());
        showMessages();
        watch->back = true;
        showState();
        startLooks();
        return false;
    }
    watch.reset();
    showInstrument(answered);
    return true;
}

void endLineLostWatch() {
    watch.reset();
    ++generation;
}
