#include "tests/harness/time_zone.h"

#include <cstdlib>
#include <ctime>

void useUtcAsLocalTime() {
    setenv("TZ", "UTC", 1);
    tzset();
}
