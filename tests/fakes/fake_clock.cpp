#include "fakes/fake_clock.hpp"

#include "platform/clock.hpp"

namespace fake {
uint64_t now_micros = 1000000000u;
uint64_t step_micros = 1000u;
time_t wall_seconds = 1798761600;  // 2027-01-01 00:00 UTC
}  // namespace fake

uint64_t ClockMicros() {
    const uint64_t now = fake::now_micros;
    fake::now_micros += fake::step_micros;
    return now;
}

time_t WallClockSeconds() {
    return fake::wall_seconds;
}
