#include "contents/camera_settings.hpp"

#include "common/state.hpp"

int32_t CamFlipV = 0;
int32_t CamFlipH = 0;
int32_t CamChan = 0;
int32_t CamOnMemory = 1;
int32_t CamBeep = 0;

void LoadCameraSettings() {}
