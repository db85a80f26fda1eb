#include <cstdlib>
#include <opencv2/videoio.hpp>

#include "platform/camera.hpp"

namespace {

cv::VideoCapture* capture = nullptr;  // null while the camera is closed

// V4L2 in OpenCV 4.6 waits 10 s for a frame of a stalled or unplugged camera and ignores
// CAP_PROP_READ_TIMEOUT_MSEC; this setting (read once, at the first open) bounds the wait in
// whole seconds. A value the user set is kept.
void BoundDeviceWait() {
    setenv("OPENCV_VIDEOIO_V4L_SELECT_TIMEOUT", "1", 0);
}

}  // namespace

bool CameraOpen(int index) {
    CameraRelease();
    const char* source = std::getenv("ZELTRAN_CAMERA_SOURCE");
    const bool from_file = source && *source;
    if (!from_file && index < 0) return false;
    BoundDeviceWait();
    capture = new cv::VideoCapture();
    bool opened = false;
    try {
        opened =
            from_file ? capture->open(source, cv::CAP_ANY) : capture->open(index, cv::CAP_V4L2);
    } catch (const cv::Exception&) {
        opened = false;
    }
    if (!opened) {
        CameraRelease();
        return false;
    }
    capture->set(cv::CAP_PROP_FRAME_WIDTH, 320.0);
    capture->set(cv::CAP_PROP_FRAME_HEIGHT, 240.0);
    capture->set(cv::CAP_PROP_FPS, 60.0);
    // One driver buffer: each read gets the newest picture, not one queued cycles ago.
    capture->set(cv::CAP_PROP_BUFFERSIZE, 1.0);
    return true;
}

bool CameraIsOpen() {
    return capture != nullptr;
}

bool CameraRead(cv::Mat* frame) {
    if (!capture) return false;
    try {
        return capture->read(*frame) && !frame->empty();
    } catch (const cv::Exception&) {
        return false;
    }
}

void CameraRelease() {
    delete capture;
    capture = nullptr;
}
