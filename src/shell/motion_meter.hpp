// The motion meter (F2): what the panel over the picture shows of the motion, the threshold and
// the playback, so that a camera can be aimed and a threshold chosen without a console.
#pragma once

// F2: the meter on / off, shown or hidden at once.
void ToggleMotionMeter();

// Switches the meter on at start-up when ZELTRAN_METER is 1; nothing otherwise.
void StartMotionMeterFromEnvironment();

// Step of the cycle: takes this cycle's camera pictures, motion values, threshold and position
// into the meter. Nothing while the meter is off.
void UpdateMotionMeter();
