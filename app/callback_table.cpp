#include "app/callback_table.h"

std::vector<CallbackBinding> allCallbacks() {
    std::vector<CallbackBinding> table;
    for (auto part : {navigationCallbacks(), linkCallbacks(), kxQvSettingsCallbacks(),
                      clockStartCallbacks(), liveCallbacks(), calibrationCallbacks()}) {
        table.insert(table.end(), part.begin(), part.end());
    }
    return table;
}
