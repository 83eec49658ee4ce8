#include "toolkit/panels/panel_host.h"

namespace {
PanelHost* host = nullptr;
}

void SetPanelHost(PanelHost* next) {
    host = next;
}

PanelHost* CurrentPanelHost() {
    return host;
}
