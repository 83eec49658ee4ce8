// The callbacks of the kx and qv settings panels, bound by the names in the resource file.
#include "app/callback_table.h"
#include "settings/kx_settings.h"
#include "settings/qv_settings.h"

namespace {
const CallbackBinding kKxQvSettingsCallbacks[] = {
    {"getconfigkxcallback", getconfigkxcallback, nullptr},
    {"setconfigkxcallback", setconfigkxcallback, nullptr},
    {"getconfigqvcallback", getconfigqvcallback, nullptr},
    {"setconfigqvcallback", setconfigqvcallback, nullptr},
};
}

std::span<const CallbackBinding> kxQvSettingsCallbacks() {
    return kKxQvSettingsCallbacks;
}
