// Motion-driven frame advance and the frame steps shared with the keys and the idle step.
#pragma once

// Moves frame_no by VR_step while DifferenceSum is above VR_threshold; reverses after a burst.
// On a change of direction the window is served twice (1 ms each); in a two-picture folder the
// picture of the new direction is decoded first.
void AdvanceFrame();

// frame_no + step, wrapping to 0.0 or stopping at MaxCount - 1; prev_direction = 1 when not
// wrapping; direction = 1. An empty folder keeps frame_no at 0.0.
void StepForward(double step);

// frame_no - step, wrapping to MaxCount - 1 or stopping at 0.0; prev_direction = 0 when not
// wrapping; direction = 0. An empty folder keeps frame_no at 0.0.
void StepBackward(double step);
