// The camera settings file SetCamera3.txt.
#pragma once

// Prints the legend and reads the five camera values; a missing file is silent. Then reads the
// camera device file (capture/camera_device.hpp).
void LoadCameraSettings();

// Reads the five camera values as LoadCameraSettings does, printing nothing (camera retries).
void ReadCameraSettingsSilently();
