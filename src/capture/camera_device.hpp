// The camera device file SetCameraDevice.txt: a line `device VALUE` names the camera instead of
// /dev/video<CamChan> (a V4L2 path, rtsp://, http://, https:// or gst:PIPELINE), as
// ZELTRAN_CAMERA_DEVICE does; the variable wins when both are set. `#` starts a comment.
#pragma once

#include <string>
#include <vector>

constexpr char kCameraDeviceFile[] = "SetCameraDevice.txt";

// Reads the file into the camera's choice (none when the file is missing or has no device line)
// and, with report, prints the "SET: device" line, credentials hidden, and each bad line on
// stderr. With skipped, bad lines go there instead, as "line N: ... is not read: REASON".
void LoadCameraDeviceSetting(bool report, std::vector<std::string>* skipped = nullptr);
