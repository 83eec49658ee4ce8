// The calibration panel's callbacks, bound by the names the resource file gives them.
#include "app/callback_table.h"
#include "calibration/calibrate_panel.h"
#include "calibration/default_calibration.h"

namespace {
const CallbackBinding kCalibrationCallbacks[] = {
    {"calibratecallback", calibratecallback, nullptr},
    {"calibrate2callback", calibrate2callback, nullptr},
    {"setdefaultcallback", setdefaultcallback, nullptr},
};
}  // namespace

std::span<const CallbackBinding> calibrationCallbacks() {
    return kCalibrationCallbacks;
}
