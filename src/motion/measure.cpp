// The measure: the difference of the two newest grey camera pictures, plain or through the
// filter of SetMotion.txt, and the shared block it is published in.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "block/shared_block.hpp"
#include "common/state.hpp"
#include "motion/motion.hpp"

int32_t DifferenceSum = 0;
int32_t sample_step = 4;
uint8_t grey_pair[2 * kGreyFrameBytes];
int32_t grey_pair_index = 0;

namespace {

constexpr int kLevels = 256;  // a signed difference lies in -255..255

// Grey levels (half 0 minus half 1) taken out as light by the last measure of the cycle, for
// CountedChange, which repeats that measure pixel by pixel.
int32_t last_light_shift = 0;

// A step of 0 or less (from a parameter file) would never advance: every pixel is taken.
int32_t UsableStep(int32_t step) {
    return step > 0 ? step : 1;
}

// Sum of |half 0 - half 1| over every step-th pixel of every step-th row.
int32_t SampledDifference(const uint8_t* pair, int32_t step) {
    const uint8_t* half0 = pair;
    const uint8_t* half1 = pair + kGreyFrameBytes;
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
void ForEachCountedSample(int32_t step, const MotionFilter& filter, Visit visit) {
    for (int64_t y = 0; y < GLT_F_YMAX; y += step) {
        for (int64_t x = 0; x < GLT_F_XMAX; x += step) {
            const int64_t i = y * GLT_F_XMAX + x;
            if (!filter.masked || filter.counts[i] != 0) visit(i);
        }
    }
}

// The median of the signed differences over the counted samples: a lamp, the sun or the
// camera's exposure shifts most of the picture alike, while a visitor covers less than half of
// it and so cannot move the median. 0 when no sample counts.
int32_t LightShift(const uint8_t* pair, int32_t step, const MotionFilter& filter) {
    const uint8_t* half0 = pair;
    const uint8_t* half1 = pair + kGreyFrameBytes;
    int32_t histogram[2 * kLevels - 1] = {};
    int64_t samples = 0;
    ForEachCountedSample(step, filter, [&](int64_t i) {
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

bool Filtered(const MotionFilter& filter) {
    return filter.masked || filter.light;
}

int FilteredChange(const MotionFilter& filter, int32_t light_shift, int index, int half0,
                   int half1) {
    if (filter.masked && filter.counts[index] == 0) return 0;
    return std::max(0, std::abs(half0 - half1 - light_shift) - kGrainDeadBand);
}

int32_t FilteredDifference(const uint8_t* pair, int32_t step, const MotionFilter& filter,
                           int32_t light_shift) {
    const uint8_t* half0 = pair;
    const uint8_t* half1 = pair + kGreyFrameBytes;
    int64_t sum = 0;
    ForEachCountedSample(step, filter, [&](int64_t i) {
        sum += FilteredChange(filter, light_shift, static_cast<int>(i), half0[i], half1[i]);
    });
    return static_cast<int32_t>(sum);
}

}  // namespace

void KeepGreyPicture(const cv::Mat& grey) {
    const int half = grey_pair_index != 0 ? 1 : 0;
    uint8_t* target = grey_pair + half * kGreyFrameBytes;
    std::memset(target, 0, kGreyFrameBytes);
    for (int row = 0; row < GLT_F_YMAX; ++row) {
        std::memcpy(target + row * GLT_F_XMAX, grey.ptr(row), GLT_F_XMAX);
    }
    grey_pair_index = 1 - half;
}

int32_t SumDifference(const uint8_t* pair, int32_t step, const MotionFilter& filter,
                      int32_t* light_shift) {
    step = UsableStep(step);
    *light_shift = filter.light ? LightShift(pair, step, filter) : 0;
    if (!Filtered(filter)) return SampledDifference(pair, step);
    return FilteredDifference(pair, step, filter, *light_shift);
}

int CountedChange(int index, int half0, int half1) {
    const MotionFilter& filter = LoadedMotionFilter();
    if (!Filtered(filter)) return std::abs(half0 - half1);
    return FilteredChange(filter, last_light_shift, index, half0, half1);
}

int32_t FullScaleDifference(int32_t step) {
    step = UsableStep(step);
    const int64_t columns = (GLT_F_XMAX + step - 1) / step;
    const int64_t rows = (GLT_F_YMAX + step - 1) / step;
    return static_cast<int32_t>(std::min<int64_t>(columns * rows * 255, INT32_MAX));
}

void MeasureDifference(uint8_t* pair, bool camera_on, int32_t threshold) {
    DifferenceSum = 0;
    if (camera_on) {
        DifferenceSum = SumDifference(pair, sample_step, LoadedMotionFilter(), &last_light_shift);
        PublishSlot(CamChan, DifferenceSum);
        return;
    }
    // Without a camera this copy follows the total of the others, once the threshold of the
    // cycle has been taken over from the threshold file.
    if (threshold == GLT_threshold) {
        ReadSharedBlock();
        DifferenceSum = SI[kDiffSumWord];
    }
    // The first measurement after the camera comes back compares against a black picture.
    std::memset(pair, 0, 2 * kGreyFrameBytes);
}
