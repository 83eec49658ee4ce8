#include "app/callback_table.h"

std::span<const CallbackBinding> calibrationCallbacks() {
    return {};
}
