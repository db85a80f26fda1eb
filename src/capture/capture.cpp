#include "capture/capture.hpp"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "capture/camera_retry.hpp"
#include "capture/camera_switch.hpp"
#include "common/console.hpp"
#include "common/state.hpp"
#include "motion/motion.hpp"
#include "platform/camera.hpp"

cv::Mat camera_frame;
cv::Mat grey_frame;

namespace {

constexpr int kCameraOffWaitMs = 1000;  // lets the device settle before the next command

int BitsPerChannel(const cv::Mat& picture) {
    return static_cast<int>(CV_ELEM_SIZE1(picture.type())) * 8;
}

void PrintSizeReport(const cv::Mat& frame) {
    Print("\n\n");
    PrintError("ERROR: The Size of Supposed Input Image does not Match.");
    PrintError("nChannels = %d\n", frame.channels());
    PrintError("depth     = %d (bit)\n", BitsPerChannel(frame));
    PrintError("width     = %d\n", frame.cols);
    PrintError("height    = %d\n", frame.rows);
    PrintError("GLT_F_XMAX    = %d\n", GLT_F_XMAX);
    PrintError("GLT_F_YMAX    = %d\n", GLT_F_YMAX);
}

// After a failed capture the camera stays off until the user turns it on again, or until an
// attempt of the camera retry brings it back.
void TurnCameraOffAfterFailure() {
    SwitchCameraOff(kCameraOffWaitMs);
    PrintText("Done.\n\n");
    PrintCameraOffBanner(1);
    ArmCameraRetry();
}

}  // namespace

void GLT_Capture() {
    if (camera_on == 0) {
        RetryCameraWhenDue();
        return;
    }
    if (!CameraRead(&camera_frame)) {
        PrintText("cvQueryFrame() failed in GLT_Capture().\n");
        // A network camera says why in one more line; a V4L2 device says nothing more.
        const std::string fault = CameraFault();
        if (!fault.empty()) Print("%s\n", fault.c_str());
        TurnCameraOffAfterFailure();
        return;
    }
    if (IsUnexpectedFrame(camera_frame)) {
        PrintSizeReport(camera_frame);
        TurnCameraOffAfterFailure();
        return;
    }
    if (CamFlipV != 0) cv::flip(camera_frame, camera_frame, 0);
    if (CamFlipH != 0) cv::flip(camera_frame, camera_frame, 1);
    cv::cvtColor(camera_frame, grey_frame, cv::COLOR_BGR2GRAY);
    KeepGreyPicture(grey_frame);
}
