#include "motion/motion.hpp"

#include <cstdlib>
#include <cstring>

#include "block/shared_block.hpp"
#include "common/state.hpp"

int32_t DifferenceSum = 0;
int32_t sample_step = 4;

namespace {

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

}  // namespace

void MeasureDifference() {
    DifferenceSum = 0;
    if (camera_on != 0) {
        // A step of 0 or less (from a parameter file) would never advance: take every pixel.
        DifferenceSum = SampledDifference(sample_step > 0 ? sample_step : 1);
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
