#include "platform/camera_system.hpp"

#include <opencv2/videoio.hpp>

int CameraSystemApi() {
    return cv::CAP_V4L2;
}
