// "Reconnect by itself" on the live panel: whether a run whose line is lost waits for the
// adapter and goes on when it is back, or ends there. On unless the operator turned it
// off; the choice is remembered between runs of the tool, as the window's place is.
#pragma once

#include "toolkit/panels/userint.h"

// Where the choice is remembered (QSettings).
inline constexpr char kReconnectSettingKey[] = "live/reconnectByItself";

// The choice as remembered (on when never made).
bool reconnectByItself();
// Sets the box of the live panel `panel` to the remembered choice.
void showReconnectChoice(int panel);

// The box: remembers the choice it now shows.
CtrlCallback reconnectchoicecallback;
