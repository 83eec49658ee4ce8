#include "live/reconnect_choice.h"

#include <QSettings>

#include "ui/vaskinterface_ids.h"

bool reconnectByItself() {
    return QSettings().value(kReconnectSettingKey, true).toBool();
}

void showReconnectChoice(int panel) {
    SetCtrlVal(panel, LIVE_RECONNECT, reconnectByItself() ? 1 : 0);
}

int reconnectchoicecallback(int panel, int control, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    int on = 1;
    if (GetCtrlVal(panel, control, &on) == 0)
        QSettings().setValue(kReconnectSettingKey, on == 1);
    return 0;
}
