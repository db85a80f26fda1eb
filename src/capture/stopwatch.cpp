#include "capture/stopwatch.hpp"

#include <cstdint>

#include "common/state.hpp"
#include "platform/clock.hpp"

double f_rate = 0.0;

namespace {

constexpr uint64_t kMicrosPerSecond = 1000000;
constexpr double kHighestRate = 999.0;  // 1/s; also the reading when no time has passed

// The stopwatch keeps whole seconds and microseconds as 32-bit numbers.
struct TimerReading {
    int32_t seconds;
    int32_t micros;  // 0..999999
};

TimerReading timer_start = {0, 0};

TimerReading Now() {
    const uint64_t micros = ClockMicros();
    return {static_cast<int32_t>(static_cast<uint32_t>(micros / kMicrosPerSecond)),
            static_cast<int32_t>(micros % kMicrosPerSecond)};
}

}  // namespace

void StartTimer() {
    timer_start = Now();
}

double ReadTimer() {
    const TimerReading now = Now();
    // 32-bit arithmetic read as unsigned microseconds; unsigned operands make the wrap-around
    // well defined.
    const uint32_t elapsed =
        (static_cast<uint32_t>(now.seconds) - static_cast<uint32_t>(timer_start.seconds)) *
            static_cast<uint32_t>(kMicrosPerSecond) +
        static_cast<uint32_t>(now.micros) - static_cast<uint32_t>(timer_start.micros);
    if (elapsed == 0) return kHighestRate;
    const double seconds = elapsed / 1000000.0;
    const double rate = 1.0 / seconds;
    return rate < kHighestRate ? rate : kHighestRate;
}
