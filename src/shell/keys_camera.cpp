// The pause key and the camera key.
#include "shell/keys_camera.hpp"

#include "block/shared_block.hpp"
#include "capture/camera_retry.hpp"
#include "capture/camera_settings.hpp"
#include "capture/camera_switch.hpp"
#include "common/console.hpp"
#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "motion/motion.hpp"
#include "platform/camera.hpp"
#include "platform/overlay.hpp"
#include "platform/window.hpp"
#include "shell/console_report.hpp"
#include "shell/remote.hpp"
#include "status/status.hpp"

namespace {

constexpr int kResumeWaitMs = 500;   // lets the camera settle after a pause
constexpr int kSwitchWaitMs = 1000;  // lets the camera settle after the camera key

const char* const kPauseBanner[] = {
    "\n\n OOOO    OOO   O   O   OOOO  OOOOO  O \n", " O   O  O   O  O   O  O      O      O \n",
    " OOOO   OOOOO  O   O   OOO   OOOO   O \n",     " O      O   O  O   O      O  O        \n",
    " O      O   O   OOO   OOOO   OOOOO  O \n\n",
};

const char* const kGoBanner[] = {
    "\n  OOO            O \n", " O       OOOO    O \n",   " O OOOO O    O   O \n",
    " O   O  O    O     \n",   "  OOO    OOOO    O \n\n",
};

void PrintLines(const char* const (&lines)[5]) {
    for (const char* line : lines) PrintText(line);
}

void TurnCameraOn(int wait_ms) {
    PrintText("\nNOW, TURNING ON THE CAMERA DEVICE. WAIT A MOMENT...\n");
    LoadCameraSettings();
    OpenCamera();
    WindowWaitKey(wait_ms);
    PrintText("Done.\n");
}

// Waits for Enter (true) or ESC; a closed window or a signal ends the wait like ESC.
bool WaitForResume() {
    for (;;) {
        const int key = WaitForAnyKey();
        if (QuitRequested() || key == kKeyEsc) return false;
        if (key == kKeyEnter) return true;
    }
}

}  // namespace

bool Pause() {
    // The camera is closed during the pause but camera_on stays 1, so the resume reopens it.
    if (camera_on == 1) {
        PrintText("\nNOW, TURNING OFF THE CAMERA DEVICE. WAIT A MOMENT...\n");
        CameraRelease();
        PrintText("Done.\n");
        PrintCameraOffBanner(1);
    }
    // The panels would cover the key chart, whose last line tells how to go on.
    OverlayHidePanels(true);
    WindowShow(pause_picture, 0);
    PrintLines(kPauseBanner);
    DropCache();
    PublishStatus(true);
    if (!WaitForResume()) {
        ShutDown();
        return false;
    }
    OverlayHidePanels(false);
    if (camera_on == 1) {
        ClearSharedBlock();
        TurnCameraOn(kResumeWaitMs);
        PrintCameraOnBanner(1);
    }
    PrintLines(kGoBanner);
    shown_frame_no = -1.0;
    return true;
}

void SwitchCamera() {
    ClearSharedBlock();
    PrintKeyFunction("KEY FUNCTION : [q][ CAMERA ON/OFF CONTROL ]\n");
    if (camera_on == 0 && CameraRetrying()) {
        // The user has taken over: the camera stays off until the next q.
        StopCameraRetry();
        return;
    }
    if (camera_on == 0) {
        camera_on = 1;
        TurnCameraOn(kSwitchWaitMs);
    } else {
        SwitchCameraOff(kSwitchWaitMs);
        PrintText("Done.\n");
    }
    if (camera_on == 1) {
        PrintCameraOnBanner(1);
    } else {
        PrintCameraOffBanner(1);
    }
    RestartMotion();
}
