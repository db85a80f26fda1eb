// The motion room: the camera picture becomes the motion value, the motion value and the
// threshold become the frame step. All that other rooms see of motion is declared here:
//
//   KeepGreyPicture(grey)                             the camera picture into grey_pair
//   MeasureDifference(grey_pair, camera_on, VR_threshold)          -> DifferenceSum
//   AdvanceFrame(DifferenceSum, VR_threshold)                      -> frame_no, direction
//   UpdateThreshold()                             GLT_THRESHOLD.dat -> VR_threshold
//
// The values themselves (DifferenceSum, VR_threshold, grey_pair, the step state) are declared
// with the rest of the player's state in common/state.hpp; they are written only in this room.
#pragma once

#include <cstdint>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "common/state.hpp"
#include "motion/tone_change.hpp"

// ---- The measure (measure.cpp) ------------------------------------------------------------------

// What the measurement leaves out (SetMotion.txt). Both off: the plain sum over the picture.
struct MotionFilter {
    bool masked = false;              // only pixels whose counts entry is nonzero are measured
    bool light = false;               // a tone change shared by the whole picture is taken out
    uint8_t counts[kGreyFrameBytes];  // 1 where a change counts, the mask at the camera's size
};

// With the filter on, a change of this many grey levels or less does not count: the camera's
// grain and the rounding that compression leaves after a step of the whole picture.
constexpr int kGrainDeadBand = 4;

// Copies the camera's grey picture (GLT_F_XMAX x GLT_F_YMAX, one byte a pixel) into the half of
// grey_pair that grey_pair_index names, and turns the index to the other half.
void KeepGreyPicture(const cv::Mat& grey);

// The cycle's measure: DifferenceSum from the two halves of pair, through the filter of
// SetMotion.txt, published in this copy's slot of the shared block. With the camera off, the
// block's total is followed instead once threshold has been taken over from the threshold file
// (it equals GLT_threshold), and pair is cleared.
void MeasureDifference(uint8_t* pair, bool camera_on, int32_t threshold);

// The sum of the measure over every step-th pixel of every step-th row of pair with filter, half
// older_half of pair being the older picture; light receives the tone change taken out as light
// (none without the light option).
int32_t SumDifference(const uint8_t* pair, int older_half, int32_t step, const MotionFilter& filter,
                      ToneChange* light);

// The change of one pixel from its older to its newer grey level as the last measure counted it:
// their plain difference with the filter off, 0 where masked, and what is left beyond the light's
// tone change less kGrainDeadBand otherwise.
int CountedChange(int index, int older, int newer);

// The measure's highest value at a pixel step: every sampled pixel changing by 255.
int32_t FullScaleDifference(int32_t step);

// ---- The filter from SetMotion.txt (settings.cpp) -----------------------------------------------

// The settings file: `mask FILE` (a picture, dark where changes never count) and `light 1` (a
// change of the whole picture is not motion); `#` starts a comment.
constexpr char kMotionSettingsFile[] = "SetMotion.txt";

// What the last reading found of the mask.
struct MotionMaskReport {
    std::string file;   // as named in the file; empty: no mask line
    bool read = false;  // the picture was decoded
    int width = 0;      // its own size
    int height = 0;
    double excluded = 0.0;  // share of the camera picture that never counts, 0..1
};

// Reads SetMotion.txt into the filter (both options off first) and, with report, prints every
// setting as a "SET:" line, each bad line with its number and an unreadable mask on stderr. A
// missing file is silent and leaves the plain measurement. With skipped, each bad line goes there
// instead of stderr, as "line N: \"TEXT\" is not read: REASON" (the installation check).
void LoadMotionSettings(bool report = true, std::vector<std::string>* skipped = nullptr);

// The filter and the mask as LoadMotionSettings last read them.
const MotionFilter& LoadedMotionFilter();
const MotionMaskReport& LoadedMotionMask();

// ---- The frame step (frame_step.cpp) ------------------------------------------------------------

// Moves frame_no by VR_step while difference is above threshold; reverses after a burst. On a
// change of direction the window is served twice (1 ms each); in a two-picture folder the
// picture of the new direction is decoded first.
void AdvanceFrame(int32_t difference, int32_t threshold);

// frame_no + step, wrapping to 0.0 or stopping at MaxCount - 1; prev_direction = 1 when not
// wrapping; direction = 1. An empty folder keeps frame_no at 0.0.
void StepForward(double step);

// frame_no - step, wrapping to MaxCount - 1 or stopping at 0.0; prev_direction = 0 when not
// wrapping; direction = 0. An empty folder keeps frame_no at 0.0.
void StepBackward(double step);

// The motion a camera or a folder starts with: no difference, the pair filled from half 0, no
// motion counted, direction forward.
void RestartMotion();

// ---- The threshold (threshold.cpp) --------------------------------------------------------------

constexpr char kThresholdFile[] = "GLT_THRESHOLD.dat";
constexpr int32_t kLowestCalibratedThreshold = 500;  // a room that measured 0 still needs one

// The threshold before any file: 2 grey levels a sampled pixel at sample_step.
void StartThreshold();

// Value 5 of a parameter file: the threshold until the cycle first takes the threshold file.
void TakeParameterThreshold(int32_t value);

// The step of the cycle after the key poll: reads GLT_THRESHOLD.dat and makes it the threshold
// that the next measure and frame step use.
void UpdateThreshold();

// Reads one "%d" from GLT_THRESHOLD.dat into GLT_threshold; false when the file does not open.
bool ReadThresholdFile();

// Replaces GLT_THRESHOLD.dat with GLT_threshold ("%d", no line end); false when it cannot be
// written. The value goes to a temporary file in the same folder that is then renamed over the old
// one, so an interrupted write never leaves a truncated threshold file.
bool WriteThresholdFile();

// The change of the keys v / V: 1 % of the pixels sampled at sample_step. A step of 0, or one
// whose square does not fit the arithmetic, counts as 1 so that no setting can divide by zero.
int32_t ThresholdKeyStep();

// The threshold proposed for the highest value an empty room gave: 1.5 times it, rounded up,
// and at least kLowestCalibratedThreshold.
int32_t CalibratedThreshold(int32_t highest);
