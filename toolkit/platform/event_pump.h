// Keeps windows alive while a callback blocks (Delay, serial waits).
#pragma once

// Processes pending window events: painting, and operator input, which reaches no
// callback while another callback runs but is queued for when it returns.
void PumpWindowEvents();
