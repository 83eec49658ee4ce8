// Keeps windows alive while a callback blocks (Delay, serial waits).
#pragma once

// Processes pending window events: painting, and operator input, which reaches no
// callback while another callback runs: it waits for that callback's own polls
// (GetUserEvent) and is discarded when the callback returns.
void PumpWindowEvents();
// Real seconds since PumpWindowEvents last ran, whoever called it: a wait that pumps now and
// then need not pump again just after a poll did. Very large before the first pump.
double SecondsSinceWindowsPumped();
// Sleeps `seconds` of real time, taking no input and painting nothing, but answering the
// calls other threads queue for this one meanwhile: an accessibility client's requests
// arrive so, and a screen reader reading the window during a long sleep (a live run's reads
// gather records for a tenth of a second at a time) would otherwise wait out every sleep
// for each of its many small questions. While calls keep coming they are answered within
// a fraction of a millisecond; a few slices after the last one the sleep wakes only every
// 20 ms again.
void SleepAnsweringCalls(double seconds);
