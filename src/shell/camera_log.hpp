// The camera picture log ../log/clip_NNNNN.jpg.
#pragma once

#include <string>

// The first free name of the series ../log/clip_00000.jpg, clip_00001.jpg, ... (free: it cannot
// be opened for reading). The search goes on from the name found last time, so a cycle costs one
// to three file tests however many pictures the log holds; the names are those of a search from 0
// as long as nothing else removes pictures from ../log (the search starts again from 0 when the
// last picture found is gone).
std::string NextCameraLogName();

// With camera_log_mode 1, DISP_WEB_CAM_INFO 0 and the camera on and open: saves camera_frame
// under NextCameraLogName(). A failing save is not reported.
void LogCameraPicture();
