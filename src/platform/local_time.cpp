#include "platform/local_time.hpp"

tm LocalTimeOf(time_t t) {
    tm parts{};
    localtime_r(&t, &parts);
    return parts;
}
