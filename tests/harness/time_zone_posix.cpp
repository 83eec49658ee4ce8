#include <cstdlib>
#include <ctime>

#include "tests/harness/time_zone.h"

void useUtcAsLocalTime() {
    setenv("TZ", "UTC", 1);
    tzset();
}
