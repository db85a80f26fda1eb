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

// The tone change taken out as light by the last measure of the cycle, for CountedChange, which
// repeats that measure pixel by pixel.
ToneChange last_light;

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

bool Filtered(const MotionFilter& filter) {
    return filter.masked || filter.light;
}

int FilteredChange(const MotionFilter& filter, const ToneChange& light, int index, int older,
                   int newer) {
    if (filter.masked && filter.counts[index] == 0) return 0;
    return std::max(0, ChangeBeyond(light, older, newer) - kGrainDeadBand);
}

int32_t FilteredDifference(const uint8_t* older, const uint8_t* newer, int32_t step,
                           const MotionFilter& filter, const ToneChange& light) {
    int64_t sum = 0;
    for (int64_t y = 0; y < GLT_F_YMAX; y += step) {
        for (int64_t x = 0; x < GLT_F_XMAX; x += step) {
            const int64_t i = y * GLT_F_XMAX + x;
            sum += FilteredChange(filter, light, static_cast<int>(i), older[i], newer[i]);
        }
    }
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

int32_t SumDifference(const uint8_t* pair, int older_half, int32_t step, const MotionFilter& filter,
                      ToneChange* light) {
    step = UsableStep(step);
    const uint8_t* older = pair + (older_half != 0 ? kGreyFrameBytes : 0);
    const uint8_t* newer = pair + (older_half != 0 ? 0 : kGreyFrameBytes);
    const uint8_t* counts = filter.masked ? filter.counts : nullptr;
    *light = filter.light ? FitToneChange(older, newer, counts, GLT_F_XMAX, GLT_F_YMAX, step)
                          : ToneChange();
    if (!Filtered(filter)) return SampledDifference(pair, step);
    return FilteredDifference(older, newer, step, filter, *light);
}

int CountedChange(int index, int older, int newer) {
    const MotionFilter& filter = LoadedMotionFilter();
    if (!Filtered(filter)) return std::abs(older - newer);
    return FilteredChange(filter, last_light, index, older, newer);
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
        // The half the next capture overwrites holds the older picture.
        DifferenceSum =
            SumDifference(pair, grey_pair_index, sample_step, LoadedMotionFilter(), &last_light);
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
