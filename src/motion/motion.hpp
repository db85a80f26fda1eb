// Motion measurement.
#pragma once

#include <cstdint>

#include "common/state.hpp"

// What the measurement leaves out (SetMotion.txt). Both off: the plain sum over the picture.
struct MotionFilter {
    bool masked = false;              // only pixels whose counts entry is nonzero are measured
    bool light = false;               // a grey-level shift shared by the whole picture is taken out
    uint8_t counts[kGreyFrameBytes];  // 1 where a change counts, the mask at the camera's size
};
extern MotionFilter motion_filter;

// Grey levels (half 0 minus half 1 of grey_pair) taken out as light by the last measurement;
// 0 without the light option.
extern int32_t motion_light_shift;

// With the filter on, a change of this many grey levels or less does not count: the camera's
// grain and the rounding that compression leaves after a step of the whole picture.
constexpr int kGrainDeadBand = 4;

// DifferenceSum from grey_pair, published in this copy's slot of the shared block; with the
// camera off, the block's total is followed instead. With motion_filter on, masked pixels and
// the picture-wide light change are left out of the sum.
void MeasureDifference();

// The change of one pixel as the measurement counted it: |half0 - half1| with the filter off,
// 0 where masked, and less the light shift and kGrainDeadBand otherwise.
int CountedChange(int index, int half0, int half1);
