// A change of the light that is the same function of the grey level over the whole picture: a
// lamp adds to every level, a camera's exposure multiplies them and its tone curve bends them.
#pragma once

#include <cstdint>

constexpr int kGreyLevels = 256;

// The change each grey level of the older picture is expected to make by the newer one.
struct ToneChange {
    int16_t offset[kGreyLevels] = {};  // newer minus older, -255..255
};

// Fits the tone change from every step-th pixel of every step-th row of two width x height grey
// pictures, where counts (nullptr: everywhere) is nonzero. The older picture's levels are cut into
// bands; each band's median change holds as long as a visitor covers less than half of it, and
// the levels between band centres are interpolated. No sample: no change.
ToneChange FitToneChange(const uint8_t* older, const uint8_t* newer, const uint8_t* counts,
                         int width, int height, int step);

// The change a sample shows beyond the fitted one.
inline int ChangeBeyond(const ToneChange& tone, int older, int newer) {
    const int left = newer - older - tone.offset[older];
    return left < 0 ? -left : left;
}
