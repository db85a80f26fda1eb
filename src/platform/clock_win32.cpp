#include <windows.h>

#include "platform/clock.hpp"

uint64_t ClockMicros() {
    static const uint64_t ticks_per_second = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<uint64_t>(frequency.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<uint64_t>(now.QuadPart);
    // Whole seconds and the rest apart, so that the product cannot overflow.
    return ticks / ticks_per_second * 1000000u +
           ticks % ticks_per_second * 1000000u / ticks_per_second;
}

time_t WallClockSeconds() {
    return time(nullptr);
}
