// The threshold: the value kept in GLT_THRESHOLD.dat (GLT_threshold, changed by the keys v / V
// and by the calibration) and the value the measure and the frame step use (VR_threshold).
#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "common/scan.hpp"
#include "common/state.hpp"
#include "motion/motion.hpp"
#include "platform/files.hpp"

int32_t GLT_threshold = 11500;
int32_t VR_threshold = 0;

namespace {

constexpr int32_t kStartLevels = 2 * kGreyFrameBytes;  // 2 grey levels a pixel of a full frame
constexpr int kThresholdPixels = kGreyFrameBytes;      // the key step is 1 % of the sampled ones

}  // namespace

void StartThreshold() {
    VR_threshold = kStartLevels / (sample_step * sample_step);
}

void TakeParameterThreshold(int32_t value) {
    VR_threshold = value;
}

void UpdateThreshold() {
    ReadThresholdFile();
    VR_threshold = GLT_threshold;
}

bool ReadThresholdFile() {
    FILE* file = OpenFile(kThresholdFile, "r");
    if (!file) return false;
    ScanInt(file, &GLT_threshold);
    std::fclose(file);
    return true;
}

bool WriteThresholdFile() {
    return WriteFileDurably(kThresholdFile, std::to_string(GLT_threshold));
}

int32_t ThresholdKeyStep() {
    int64_t divisor = static_cast<int64_t>(sample_step) * sample_step * 100;
    if (divisor == 0 || divisor > INT32_MAX) divisor = 100;
    return static_cast<int32_t>(kThresholdPixels / divisor);
}

int32_t CalibratedThreshold(int32_t highest) {
    const int64_t proposed = (static_cast<int64_t>(std::max(highest, 0)) * 3 + 1) / 2;
    return static_cast<int32_t>(
        std::clamp<int64_t>(proposed, kLowestCalibratedThreshold, INT32_MAX));
}
