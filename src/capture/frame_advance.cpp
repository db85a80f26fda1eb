#include "capture/frame_advance.hpp"

#include "common/state.hpp"

int32_t direction = 1;
int32_t prev_direction = -1;
int32_t wrap_flag = 0;
int32_t motion_count = 0;
int32_t toggle_limit = 5;
int32_t reset_limit = 2;
int32_t VR_threshold = 0;

void AdvanceFrame() {}
void StepForward(double) {}
void StepBackward(double) {}
