#include "shell/show_stats.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kLineEvery = 20;  // pictures shown between two lines

enum class Mode { kUnknown, kOff, kOn };
Mode mode = Mode::kUnknown;
FILE* stats_file = nullptr;
long shown = 0;
long decoded_ahead = 0;

bool StatsOn() {
    if (mode == Mode::kUnknown) {
        const char* path = std::getenv("ZELTRAN_STATS_FILE");
        stats_file = path && *path ? std::fopen(path, "a") : nullptr;
        if (stats_file) std::setvbuf(stats_file, nullptr, _IOLBF, 0);
        mode = stats_file ? Mode::kOn : Mode::kOff;
    }
    return mode == Mode::kOn;
}

}  // namespace

void CountShownPicture() {
    if (!StatsOn()) return;
    ++shown;
    if (shown != 1 && shown % kLineEvery != 0) return;
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    std::fprintf(stats_file, "shown %ld %lld %ld\n", shown, now, decoded_ahead);
}

void CountDecodedPicture(bool ahead) {
    if (StatsOn() && ahead) ++decoded_ahead;
}
