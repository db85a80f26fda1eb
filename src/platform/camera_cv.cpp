#include <opencv2/videoio.hpp>

#include <cstdlib>

#include "platform/camera.hpp"

namespace {

cv::VideoCapture* capture = nullptr;  // null while the camera is closed

}  // namespace

bool CameraOpen(int index) {
    CameraRelease();
    capture = new cv::VideoCapture();
    const char* source = std::getenv("ZELTRAN_CAMERA_SOURCE");
    const bool opened = (source && *source) ? capture->open(source, cv::CAP_ANY)
                                            : capture->open(index, cv::CAP_V4L2);
    if (!opened) {
        CameraRelease();
        return false;
    }
    capture->set(cv::CAP_PROP_FRAME_WIDTH, 320.0);
    capture->set(cv::CAP_PROP_FRAME_HEIGHT, 240.0);
    capture->set(cv::CAP_PROP_FPS, 60.0);
    return true;
}

bool CameraIsOpen() { return capture != nullptr; }

bool CameraRead(cv::Mat* frame) {
    if (!capture) return false;
    return capture->read(*frame) && !frame->empty();
}

void CameraRelease() {
    delete capture;
    capture = nullptr;
}
