// Calibration (F4): the empty room's own motion values over 10 s, measured as the player measures
// them (mask and light included), give the threshold written to GLT_THRESHOLD.dat.
#pragma once

#include <cstdint>

constexpr int kCalibrationSeconds = 10;
constexpr int32_t kLowestCalibratedThreshold = 500;  // a room that measured 0 still needs one

// The threshold proposed for the highest value an empty room gave: 1.5 times it, rounded up,
// and at least kLowestCalibratedThreshold.
int32_t CalibratedThreshold(int32_t highest);

// F4: starts a calibration (the camera must be on), or cancels the one running.
void ToggleCalibration();

// Step of the cycle, after the measurement: takes DifferenceSum into a running calibration,
// updates its countdown and, after 10 s, writes and reports the threshold.
void UpdateCalibration();
