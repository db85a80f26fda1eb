#include "contents/parameters.hpp"

#include "common/state.hpp"

double KeyFrameNumber[kKeyFrames];
int32_t keyframe_index = 0;
int32_t keyframe_mode = 0;
int32_t keyframe_wait = 0;
int32_t keyframe_wait_limit = 0;
int32_t vr_mode = 0;
int32_t PivotHistory[kPivotEntries];
int32_t StartFrameNum = 0;
int32_t EndFrameNum = 0;
int32_t MouseReverseFlag = 0;
int32_t MouseVertFlag = 0;

void LoadParameters() {}
bool ReadThresholdFile() {
    return false;
}
bool WriteThresholdFile() {
    return false;
}
