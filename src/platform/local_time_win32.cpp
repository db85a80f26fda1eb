#include "platform/local_time.hpp"

tm LocalTimeOf(time_t t) {
    tm parts{};
    localtime_s(&parts, &t);
    return parts;
}
