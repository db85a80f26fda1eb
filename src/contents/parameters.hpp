// Per-folder parameter files and the key-frame import.
#pragma once

#include <cstdint>
#include <string>

// Highest folder_index a parameter file may set: folder S10000, the last one the folder keys reach.
constexpr int32_t kHighestFolderIndex = 9999;

// Reads glt_env%4d.dat (or glt_env.dat), then ../S%3d/nqt_config.dat, then runs ReadKB. Values that
// would index outside a table or divide by zero later are limited when stored: folder 0..9999,
// MaxCount 0..22000, sample_step 1..320, frame_no 0..22000, keyframe_index 0..1279; a direction
// other than 0 / 1 is stored as 2 (no motion-driven move), a flip_mode other than 0..2 as 0.
void LoadParameters();

// Reads glt_env%4d.dat of folder folder_index + 1, or glt_env.dat when that folder has none, with
// the limits of LoadParameters; returns the name of the file read, empty when neither opens.
std::string ReadParameterFile();

// Reads the parameter file name (values and limits as ReadParameterFile); false when it does not
// open.
bool ReadParametersFrom(const char* name);
