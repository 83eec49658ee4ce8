// Keeps windows alive while a callback blocks (Delay, serial waits).
#pragma once

// Processes pending window events: painting, and operator input, which reaches no
// callback while another callback runs: it waits for that callback's own polls
// (GetUserEvent) and is discarded when the callback returns.
void PumpWindowEvents();
// Real seconds since PumpWindowEvents last ran, whoever called it: a wait that pumps now and
// then need not pump again just after a poll did. Very large before the first pump.
double SecondsSinceWindowsPumped();
