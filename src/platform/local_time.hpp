// The C library's local time (the system's time zone; TZ honoured where the system knows it).
#pragma once

#include <ctime>

// The local calendar date and clock reading of t.
tm LocalTimeOf(time_t t);
