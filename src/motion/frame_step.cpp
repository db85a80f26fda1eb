// The frame step: motion above the threshold moves the position, a still cycle after a burst
// turns it round.
#include <cmath>

#include "common/state.hpp"
#include "motion/motion.hpp"
#include "platform/picture.hpp"
#include "platform/window.hpp"

double VR_step = 1.0;
int32_t direction = 1;
int32_t prev_direction = -1;
int32_t wrap_flag = 0;
int32_t motion_count = 0;
int32_t toggle_limit = 5;
int32_t reset_limit = 2;

namespace {

constexpr int kDirectionChangeWaitMs = 1;  // each of the two window services after a reversal

// The last position of the folder; 0.0 for an empty folder, so no end ever points before the
// first record.
double LastPosition() {
    return MaxCount > 0 ? static_cast<double>(MaxCount - 1) : 0.0;
}

// frame_no + step; past the last frame (by its integer part) it wraps to 0.0 or stops.
void MoveForward(double step) {
    frame_no += step;
    if (std::trunc(frame_no) >= static_cast<double>(MaxCount)) {
        frame_no = wrap_flag != 0 ? 0.0 : LastPosition();
    }
}

// frame_no - step; below 0.0 it wraps to the last frame or stops at 0.0.
void MoveBackward(double step) {
    frame_no -= step;
    if (frame_no < 0.0) frame_no = wrap_flag != 0 ? LastPosition() : 0.0;
}

void MotionStep(int32_t difference, int32_t threshold) {
    if (difference <= 0) return;
    if (difference > threshold) {
        ++motion_count;
        if (direction == 0) MoveBackward(VR_step);
        if (direction == 1) MoveForward(VR_step);
        return;
    }
    // A still cycle after a long enough burst turns the playback round.
    if (motion_count > toggle_limit) direction = direction == 0 ? 1 : 0;
    if (motion_count > reset_limit) motion_count = 0;
}

// In a two-picture folder the picture index equals the direction, so the picture of the new
// direction is decoded now, ready for the display step.
bool LoadDirectionPicture() {
    if (MaxCount != 2 || direction < 0 || direction >= MaxCount) return true;
    FrameRecord& record = FrameData[direction];
    if (record.loaded != 0) return true;
    frame_cache[direction] = DecodePicture(record.file);
    if (frame_cache[direction].empty()) return false;
    record.loaded = 1;
    return true;
}

}  // namespace

void AdvanceFrame(int32_t difference, int32_t threshold) {
    MotionStep(difference, threshold);
    if (direction == prev_direction) return;
    prev_direction = direction;
    if (!LoadDirectionPicture()) return;
    WindowWaitKey(kDirectionChangeWaitMs);
    WindowWaitKey(kDirectionChangeWaitMs);
}

void StepForward(double step) {
    MoveForward(step);
    if (wrap_flag == 0) prev_direction = 1;
    direction = 1;
}

void StepBackward(double step) {
    MoveBackward(step);
    if (wrap_flag == 0) prev_direction = 0;
    direction = 0;
}

void RestartMotion() {
    DifferenceSum = 0;
    grey_pair_index = 0;
    motion_count = 0;
    direction = 1;
}
