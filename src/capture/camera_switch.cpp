#include "capture/camera_switch.hpp"

#include <opencv2/core.hpp>

#include "common/console.hpp"
#include "common/state.hpp"
#include "knowledge/knowledge_base.hpp"
#include "platform/camera.hpp"
#include "platform/service_notify.hpp"
#include "platform/window.hpp"

int32_t camera_on = 0;
int32_t camera_log_mode = 2;

namespace {

constexpr int kShutDownWaitMs = 500;  // keeps the farewell banner readable

// CAMERA : ON in block letters; the first line starts with its line break.
const char* const kCameraOnBanner[] = {
    "\n  OOO    OOO   O     O  OOOO  OOOO    OOO            OOOOO    O     O   \n",
    " O   O  O   O  OO   OO  O     O   O  O   O    OO    O     O   OO    O   \n",
    " O      OOOOO  O O O O  OOOO  OOOO   OOOOO          O     O   O  O  O   \n",
    " O   O  O   O  O  O  O  O     O  O   O   O    OO    O     O   O    OO   \n",
    "  OOO   O   O  O     O  OOOO  O   O  O   O           OOOOO    O     O   \n",
};

// CAMERA : OFF in block letters.
const char* const kCameraOffBanner[] = {
    "\n  OOO    OOO   O     O  OOOO  OOOO    OOO            OOOO    OOOOO  OOOOO \n",
    " O   O  O   O  OO   OO  O     O   O  O   O    OO    O    O   O      O     \n",
    " O      OOOOO  O O O O  OOOO  OOOO   OOOOO          O    O   OOOO   OOOO  \n",
    " O   O  O   O  O  O  O  O     O  O   O   O    OO    O    O   O      O     \n",
    "  OOO   O   O  O     O  OOOO  O   O  O   O           OOOO    O      O     \n",
};

const char* const kFarewellBanner[] = {
    "\n\n  OOO                O     O                 O\n",
    " O                   O     O                 O\n",
    " O      OO     OO     O   O                  O\n",
    "  OO   O  O   O  O     O O    OOO  O    O    O\n",
    "    O OOOOOO OOOOOO     O    O   O O    O     \n",
    "    O O      O          O    O   O O   OO    O\n",
    " OOO   OOOO   OOOO      O     OOO   OOO  O   O\n\n",
};

// Prints the lines of a banner; without leading_break the first line's opening '\n' is left out.
template <size_t kLines>
void PrintBanner(const char* const (&lines)[kLines], int leading_break) {
    for (size_t i = 0; i < kLines; ++i) {
        const char* text = lines[i];
        if (i == 0 && !leading_break && text[0] == '\n') ++text;
        PrintText(text);
    }
}

}  // namespace

bool IsUnexpectedFrame(const cv::Mat& frame) {
    return frame.cols != GLT_F_XMAX || frame.rows != GLT_F_YMAX || frame.type() != CV_8UC3;
}

void SwitchCameraOff(int wait_ms) {
    camera_on = 0;
    camera_log_mode = 2;
    PrintText("\nNOW, TURNING OFF THE CAMERA DEVICE. WAIT A MOMENT...\n");
    CameraRelease();
    WindowWaitKey(wait_ms);
}

void OpenCamera() {
    CameraOpen(CamChan);
}

void PrintCameraOnBanner(int leading_break) {
    PrintBanner(kCameraOnBanner, leading_break);
    PrintText("\n");
}

void PrintCameraOffBanner(int leading_break) {
    PrintBanner(kCameraOffBanner, leading_break);
    PrintText("\n");
}

void ShutDown() {
    ServiceStopping();
    FreeKnowledgeBase();
    CameraRelease();
    PrintBanner(kFarewellBanner, 1);
    WindowWaitKey(kShutDownWaitMs);
}
