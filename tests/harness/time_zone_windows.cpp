// The C run-time takes TZ as a name and an offset from UTC in hours.
#include "tests/harness/time_zone.h"

#include <cstdlib>
#include <ctime>

void useUtcAsLocalTime() {
    _putenv_s("TZ", "UTC0");
    _tzset();
}
