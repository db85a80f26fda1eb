// Monotonic clock seam: the program links clock_posix.cpp; tests may link a scripted clock.
#pragma once

#include <cstdint>

// Microseconds since an arbitrary fixed start; never goes backwards.
uint64_t ClockMicros();
