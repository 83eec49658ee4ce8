#include "toolkit/panels/callback_bindings.h"

#include <map>

#include "toolkit/panels/dispatch.h"

namespace {

std::map<std::string, BoundCallback>& bindings() {
    static std::map<std::string, BoundCallback> table;
    return table;
}

}  // namespace

void bindCallbackTable(std::span<const CallbackBinding> table) {
    bindings().clear();
    for (const auto& b : table) {
        if (b.name)
            bindings()[b.name] = {b.control, b.panel, b.busy};
    }
}

const BoundCallback* findBoundCallback(const std::string& name) {
    const auto it = bindings().find(name);
    return it == bindings().end() ? nullptr : &it->second;
}

bool postNamedCallback(const char* name) {
    const BoundCallback* bound = findBoundCallback(name ? name : "");
    if (!bound || !bound->control)
        return false;
    postUserEvent({0, 0, EVENT_COMMIT, bound->control, nullptr, bound->busy});
    return true;
}
