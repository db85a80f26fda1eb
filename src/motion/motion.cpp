#include "motion/motion.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "block/shared_block.hpp"
#include "common/state.hpp"

int32_t DifferenceSum = 0;
int32_t sample_step = 4;
MotionFilter motion_filter;
int32_t motion_light_shift = 0;

namespace {

constexpr int kLevels = 256;  // a signed difference lies in -255..255

// Sum of |half 0 - half 1| over every step-th pixel of every step-th row.
int32_t SampledDifference(int32_t step) {
    const uint8_t* half0 = grey_pair;
    const uint8_t* half1 = grey_pair + kGreyFrameBytes;
    int64_t sum = 0;  // at most 76800 x 255, but kept wide so no step can overflow the loop
    for (int64_t y = 0; y < GLT_F_YMAX; y += step) {
        for (int64_t x = 0; x < GLT_F_XMAX; x += step) {
            const int64_t i = y * GLT_F_XMAX + x;
            sum += std::abs(static_cast<int>(half0[i]) - static_cast<int>(half1[i]));
        }
    }
    return static_cast<int32_t>(sum);
}

// Calls visit(index) for every sampled pixel that the mask lets count.
template <typename Visit>
void ForEachCountedSample(int32_t step, Visit visit) {
    for (int64_t y = 0; y < GLT_F_YMAX; y += step) {
        for (int64_t x = 0; x < GLT_F_XMAX; x += step) {
            const int64_t i = y * GLT_F_XMAX + x;
            if (!motion_filter.masked || motion_filter.counts[i] != 0) visit(i);
        }
    }
}

// The median of the signed differences over the counted samples: a lamp, the sun or the
// camera's exposure shifts most of the picture alike, while a visitor covers less than half of
// it and so cannot move the median. 0 when no sample counts.
int32_t LightShift(int32_t step) {
    const uint8_t* half0 = grey_pair;
    const uint8_t* half1 = grey_pair + kGreyFrameBytes;
    int32_t histogram[2 * kLevels - 1] = {};
    int64_t samples = 0;
    ForEachCountedSample(step, [&](int64_t i) {
        ++histogram[half0[i] - half1[i] + kLevels - 1];
        ++samples;
    });
    int64_t seen = 0;
    for (int bin = 0; bin < 2 * kLevels - 1; ++bin) {
        seen += histogram[bin];
        if (2 * seen >= samples && samples > 0) return bin - (kLevels - 1);
    }
    return 0;
}

int32_t FilteredDifference(int32_t step) {
    const uint8_t* half0 = grey_pair;
    const uint8_t* half1 = grey_pair + kGreyFrameBytes;
    motion_light_shift = motion_filter.light ? LightShift(step) : 0;
    int64_t sum = 0;
    ForEachCountedSample(
        step, [&](int64_t i) { sum += CountedChange(static_cast<int>(i), half0[i], half1[i]); });
    return static_cast<int32_t>(sum);
}

}  // namespace

int CountedChange(int index, int half0, int half1) {
    const bool filtered = motion_filter.masked || motion_filter.light;
    if (!filtered) return std::abs(half0 - half1);
    if (motion_filter.masked && motion_filter.counts[index] == 0) return 0;
    return std::max(0, std::abs(half0 - half1 - motion_light_shift) - kGrainDeadBand);
}

void MeasureDifference() {
    DifferenceSum = 0;
    if (camera_on != 0) {
        // A step of 0 or less (from a parameter file) would never advance: take every pixel.
        const int32_t step = sample_step > 0 ? sample_step : 1;
        const bool filtered = motion_filter.masked || motion_filter.light;
        DifferenceSum = filtered ? FilteredDifference(step) : SampledDifference(step);
        PublishSlot(CamChan, DifferenceSum);
        return;
    }
    // Without a camera this copy follows the total of the others, once the threshold of the
    // cycle has been taken over from the threshold file.
    if (VR_threshold == GLT_threshold) {
        ReadSharedBlock();
        DifferenceSum = SI[kDiffSumWord];
    }
    // The first measurement after the camera comes back compares against a black picture.
    std::memset(grey_pair, 0, sizeof grey_pair);
}
