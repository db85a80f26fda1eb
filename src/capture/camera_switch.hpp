// The camera switched on and off: the device, its banners, and the shut-down sequence that
// releases it last.
#pragma once

#include <opencv2/core.hpp>

// Opens the camera on CamChan with width 320, height 240 and 60 frames/s requested.
void OpenCamera();

// Turns the camera off: camera_on 0, logging off, the "TURNING OFF" line, the device released,
// then a serviced wait of wait_ms so the device can settle. The caller prints its "Done." line.
void SwitchCameraOff(int wait_ms);

// True when a camera frame is not 8-bit BGR at 320 x 240.
bool IsUnexpectedFrame(const cv::Mat& frame);

// Releases the knowledge base and the camera, prints the farewell banner and waits 500 ms.
void ShutDown();

// Prints the CAMERA ON / CAMERA OFF banner followed by its "\n" line; leading_break 0 leaves out
// the first line break of the banner (help screen). Callers print no extra line end.
void PrintCameraOnBanner(int leading_break);
void PrintCameraOffBanner(int leading_break);
