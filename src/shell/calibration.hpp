// Calibration (F4): the empty room's own motion values over 10 s, measured as the player measures
// them (mask and light included), give the threshold written to GLT_THRESHOLD.dat.
#pragma once

#include <cstdint>

constexpr int kCalibrationSeconds = 10;

// F4: starts a calibration (the camera must be on), or cancels the one running.
void ToggleCalibration();

// Step of the cycle, after the measure: takes the motion value difference into a running
// calibration, updates its countdown and, after 10 s, writes and reports the threshold
// (CalibratedThreshold).
void UpdateCalibration(int32_t difference);
