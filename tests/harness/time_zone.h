// The tests' own time zone: file names carry the local date and time, and a test that
// checks them sets the process's local time to UTC wherever it runs.
#pragma once

void useUtcAsLocalTime();
