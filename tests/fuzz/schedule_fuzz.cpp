// SetSchedule.txt: the text as the reader takes it, then the rule at a moment taken from the
// input's first bytes, in a zone whose clocks change.
#include <cstdlib>
#include <cstring>
#include <string>

#include "schedule/schedule.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool zone_set = [] {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        return true;
    }();
    (void)zone_set;
    int32_t seconds = 0;
    if (size >= sizeof seconds) std::memcpy(&seconds, data, sizeof seconds);
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ScheduleLineError> errors;
    const Schedule schedule = ParseSchedule(text, &errors);
    ScheduleLines(schedule);
    // Around the years a player meets: 1970 (an unset clock) to 2038.
    const time_t t = static_cast<time_t>(static_cast<uint32_t>(seconds) & 0x7FFFFFFF);
    const OpenState state = OpenStateAt(schedule, t);
    if (state.next_change != 0 && state.next_change <= t) __builtin_trap();
    if (state.next_change != 0 && OpenStateAt(schedule, state.next_change).open == state.open) {
        __builtin_trap();
    }
    return 0;
}
