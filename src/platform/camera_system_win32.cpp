#include <opencv2/videoio.hpp>

#include "platform/camera_system.hpp"

int CameraSystemApi() {
    return cv::CAP_DSHOW;
}
