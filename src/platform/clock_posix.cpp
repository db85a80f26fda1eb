#include <time.h>

#include "platform/clock.hpp"

uint64_t ClockMicros() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000u +
           static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

time_t WallClockSeconds() {
    return time(nullptr);
}
