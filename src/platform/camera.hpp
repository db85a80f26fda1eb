// The camera seam. ZELTRAN_CAMERA_SOURCE=PATH opens that video file or image-sequence pattern
// instead of the device; its end acts like an unplugged camera.
#pragma once

#include <opencv2/core.hpp>

// Opens camera index (or the source file) and requests width 320, height 240 and 60 frames/s in
// that order. False when it did not open (the camera stays closed).
bool CameraOpen(int index);

// True while a camera is open.
bool CameraIsOpen();

// Reads one frame (8-bit BGR); false when none came (end of file, device gone, not open).
bool CameraRead(cv::Mat* frame);

// Releases the camera if open.
void CameraRelease();
