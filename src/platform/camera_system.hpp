// The capture interface of this system's cameras, as OpenCV names it.
#pragma once

// V4L2 on Linux; DirectShow on Windows (OpenCV's Media Foundation capture does not build with
// MinGW).
int CameraSystemApi();
