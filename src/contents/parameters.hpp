// Per-folder parameter files, the key-frame import and the threshold file.
#pragma once

constexpr char kThresholdFile[] = "GLT_THRESHOLD.dat";

// Reads glt_env%4d.dat (or glt_env.dat), then ../S%3d/nqt_config.dat, then runs ReadKB.
void LoadParameters();

// Reads one "%d" from GLT_THRESHOLD.dat into GLT_threshold; false when the file does not open.
bool ReadThresholdFile();

// Replaces GLT_THRESHOLD.dat with GLT_threshold ("%d", no line end); false when it cannot be
// written.
bool WriteThresholdFile();
