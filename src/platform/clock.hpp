// Clock seam: the program links clock_posix.cpp; tests may link a scripted clock.
#pragma once

#include <cstdint>
#include <ctime>

// Microseconds since an arbitrary fixed start; never goes backwards.
uint64_t ClockMicros();

// Wall-clock time in seconds since 1970 (UTC). Jumps when the system's time is set.
time_t WallClockSeconds();
