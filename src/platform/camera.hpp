// The camera seam. ZELTRAN_CAMERA_SOURCE=PATH opens that video file or image-sequence pattern
// instead of the device and delivers its pictures at the clip's own rate (ZELTRAN_CAMERA_PACE=0:
// as fast as asked); its end acts like an unplugged camera unless ZELTRAN_CAMERA_LOOP=1 starts it
// again. ZELTRAN_CAMERA_DEVICE=PATH opens that V4L2 device instead of /dev/video<index>.
#pragma once

#include <opencv2/core.hpp>

// Opens camera index (or the source file, or the device path) and requests width 320, height
// 240 and 60 frames/s in that order. False when it did not open (the camera stays closed).
bool CameraOpen(int index);

// True while a camera is open.
bool CameraIsOpen();

// Reads one frame (8-bit BGR); false when none came (end of file, device gone, not open).
// A paced stand-in waits here for the picture's time, at most one second.
bool CameraRead(cv::Mat* frame);

// Releases the camera if open.
void CameraRelease();
