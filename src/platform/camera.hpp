// The camera seam. ZELTRAN_CAMERA_SOURCE=PATH opens that video file or image-sequence pattern
// instead of the device and delivers its pictures at the clip's own rate (ZELTRAN_CAMERA_PACE=0:
// as fast as asked); its end acts like an unplugged camera unless ZELTRAN_CAMERA_LOOP=1 starts it
// again. ZELTRAN_CAMERA_DEVICE=PATH opens that V4L2 device instead of /dev/video<index>; a URL
// (rtsp://, http://, https://) or gst:PIPELINE there opens a network camera or a GStreamer
// pipeline, read on a thread of its own and scaled to 320 x 240.
#pragma once

#include <opencv2/core.hpp>
#include <string>

// The device chosen in the installation's settings (a V4L2 path, a URL or gst:PIPELINE; empty:
// none). ZELTRAN_CAMERA_DEVICE, when set, wins over it. Takes effect at the next CameraOpen.
void CameraChooseDevice(const std::string& device);

// True when a device text names a network camera (rtsp://, rtsps://, http://, https://) or a
// GStreamer pipeline (gst:PIPELINE) rather than a V4L2 device.
bool IsStreamSource(const std::string& source);

// The device CameraOpen opens instead of /dev/video<index>: ZELTRAN_CAMERA_DEVICE, else the one
// chosen in the settings; empty for neither.
std::string CameraDevice();

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

// Why the last read of a network camera or pipeline failed, in one line naming it with its
// credentials hidden; empty for a V4L2 device and the stand-in clip, whose failures say nothing
// more than they always did.
std::string CameraFault();
