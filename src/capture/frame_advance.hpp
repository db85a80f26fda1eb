// Motion-driven frame advance and the frame steps shared with the keys and the idle step.
#pragma once

// Moves frame_no by VR_step while DifferenceSum is above VR_threshold; reverses after a burst.
void AdvanceFrame();

// frame_no + step, wrapping to 0.0 or stopping at MaxCount - 1; prev_direction = 1 when not
// wrapping; direction = 1.
void StepForward(double step);

// frame_no - step, wrapping to MaxCount - 1 or stopping at 0.0; prev_direction = 0 when not
// wrapping; direction = 0.
void StepBackward(double step);
