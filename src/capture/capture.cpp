#include "capture/capture.hpp"

#include "common/state.hpp"

int32_t camera_on = 0;
cv::Mat camera_frame;
cv::Mat grey_frame;
uint8_t grey_pair[2 * kGreyFrameBytes];
int32_t grey_pair_index = 0;

void OpenCamera() {}
void GLT_Capture() {}
void ShutDown() {}
void PrintCameraOnBanner(int) {}
void PrintCameraOffBanner(int) {}
