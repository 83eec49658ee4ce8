// The table that binds the resource file's callback names to functions. Each subsystem
// lists its own callbacks; the tool binds all of them at start-up.
#pragma once

#include <span>
#include <vector>

#include "toolkit/panels/userint.h"

std::span<const CallbackBinding> navigationCallbacks();
std::span<const CallbackBinding> linkCallbacks();
std::span<const CallbackBinding> kxQvSettingsCallbacks();
std::span<const CallbackBinding> clockStartCallbacks();
std::span<const CallbackBinding> liveCallbacks();
std::span<const CallbackBinding> calibrationCallbacks();

std::vector<CallbackBinding> allCallbacks();
