// Scripted clock for unit tests.
#pragma once

#include <cstdint>
#include <ctime>

namespace fake {

extern uint64_t now_micros;   // what the next ClockMicros returns
extern uint64_t step_micros;  // added after every ClockMicros (0: time stands still)
extern time_t wall_seconds;   // what WallClockSeconds returns

}  // namespace fake
