#include "motion/tone_change.hpp"

#include <array>
#include <cmath>

namespace {

constexpr int kBandWidth = 8;  // grey levels of the older picture per band
constexpr int kBands = kGreyLevels / kBandWidth;
constexpr int kChanges = 2 * kGreyLevels - 1;  // a signed change lies in -255..255
// A band speaks for its levels only with at least this share of the samples: the edge a visitor
// leaves behind, alone in a tone the room does not have, must not pass for a change of light.
constexpr int kFewestShare = 64;

struct Bands {
    std::array<uint32_t, kBands * kChanges> changes{};  // per band, a histogram of the change
    std::array<int64_t, kBands> samples{};
    std::array<int64_t, kBands> level_sum{};
    int64_t total = 0;
};

// The lower median of one band's changes.
int MedianChange(const Bands& bands, int band) {
    const uint32_t* histogram = &bands.changes[band * kChanges];
    int64_t seen = 0;
    for (int bin = 0; bin < kChanges; ++bin) {
        seen += histogram[bin];
        if (2 * seen >= bands.samples[band]) return bin - (kGreyLevels - 1);
    }
    return 0;
}

}  // namespace

ToneChange FitToneChange(const uint8_t* older, const uint8_t* newer, const uint8_t* counts,
                         int width, int height, int step) {
    Bands bands;
    for (int64_t y = 0; y < height; y += step) {
        for (int64_t x = 0; x < width; x += step) {
            const int64_t i = y * width + x;
            if (counts != nullptr && counts[i] == 0) continue;
            const int band = older[i] / kBandWidth;
            ++bands.changes[band * kChanges + newer[i] - older[i] + kGreyLevels - 1];
            ++bands.samples[band];
            bands.level_sum[band] += older[i];
            ++bands.total;
        }
    }
    // The bands that speak: their mean level and median change, in rising level.
    std::array<double, kBands> centre{};
    std::array<int, kBands> change{};
    int trusted = 0;
    for (int band = 0; band < kBands; ++band) {
        const int64_t samples = bands.samples[band];
        if (samples == 0 || samples * kFewestShare < bands.total) continue;
        centre[trusted] = static_cast<double>(bands.level_sum[band]) / samples;
        change[trusted] = MedianChange(bands, band);
        ++trusted;
    }
    ToneChange tone;
    if (trusted == 0) return tone;
    // Below the first centre and above the last, the nearest band's change holds.
    int next = 0;
    for (int level = 0; level < kGreyLevels; ++level) {
        while (next < trusted && centre[next] < level) ++next;
        double offset = 0;
        if (next == 0) {
            offset = change[0];
        } else if (next == trusted) {
            offset = change[trusted - 1];
        } else {
            const double along = (level - centre[next - 1]) / (centre[next] - centre[next - 1]);
            offset = change[next - 1] + along * (change[next] - change[next - 1]);
        }
        tone.offset[level] = static_cast<int16_t>(std::lround(offset));
    }
    return tone;
}
