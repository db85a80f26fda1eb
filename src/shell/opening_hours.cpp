#include "shell/opening_hours.hpp"

#include <string>

#include "capture/camera_switch.hpp"
#include "capture/stopwatch.hpp"
#include "common/console.hpp"
#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "platform/display_power.hpp"
#include "platform/overlay.hpp"
#include "platform/process.hpp"
#include "platform/service_notify.hpp"
#include "platform/window.hpp"
#include "schedule/schedule.hpp"
#include "shell/keys_camera.hpp"
#include "shell/remote.hpp"
#include "status/status.hpp"

namespace {

constexpr int kClosedSliceMs = 1000;  // while closed the clock is looked at once a second

bool camera_was_on = false;  // the camera was on at closing: it is switched on at opening

// Black at the size of the frame shown last, so an auto-size window keeps its size.
void ShowClosed() {
    const cv::Mat& picture = ClosedPicture();
    if (!picture.empty()) return WindowShow(picture, 0);
    cv::Size size(GLT_F_XMAX, GLT_F_YMAX);
    const int shown = static_cast<int>(shown_frame_no);
    if (shown >= 0 && shown < MaxCount && FrameData[shown].loaded == 1) {
        size = frame_cache[shown].size();
    }
    WindowShow(cv::Mat(size, CV_8UC3, cv::Scalar::all(0)), 0);
}

// The display_off / display_on program of the file (a Wayland desktop's own tool), if any.
void RunDisplayCommand(const std::vector<std::string>& command) {
    if (command.empty()) return;
    const int status = RunProgram(command);
    if (status != 0) {
        PrintError("[ NG ] %s: %s ended with status %d\n", kScheduleFile, command[0].c_str(),
                   status);
    }
}

void PowerDown() {
    ShowClosed();
    RunDisplayCommand(CurrentSchedule().display_off);
    static bool said = false;
    const DisplayPower power = DisplayPowerOff();
    if (said) return;
    said = true;
    if (power == DisplayPower::kDpmsOff) {
        PrintText("SCHEDULE: the display is switched off (DPMS) while closed\n");
    } else if (power == DisplayPower::kScreenSaver) {
        PrintText("SCHEDULE: the display is blanked by the X screen saver while closed\n");
    } else if (CurrentSchedule().display_off.empty()) {
        PrintText(
            "SCHEDULE: this desktop lets no program power the display down; it shows "
            "black while closed\n");
    }
}

void PowerUp() {
    DisplayPowerOn();
    RunDisplayCommand(CurrentSchedule().display_on);
}

void Close() {
    camera_was_on = camera_on == 1;
    if (camera_was_on) SwitchCamera();
    OverlayHidePanels(true);
    DropCache();  // the night needs no decoded frames
    PowerDown();
}

void Open() {
    PowerUp();
    OverlayHidePanels(false);
    if (camera_was_on && camera_on == 0) SwitchCamera();
    camera_was_on = false;
    shown_frame_no = -1.0;  // the frame of the closing is shown again
    StartTimer();
}

// The service manager hears that the player is up and sleeps on purpose.
void ReportClosed() {
    ServiceReady();
    ServiceStatus(("closed " + UntilText()).c_str());
    ServiceWatchdog();
}

// Waits until the room opens; false when the user quit meanwhile.
bool SleepWhileClosed() {
    Close();
    for (;;) {
        ReportClosed();
        PublishStatus(false);
        const int key = PollRemote(WindowWaitKey(kClosedSliceMs) & 0xFF);
        if (QuitRequested()) {
            PowerUp();
            ShutDown();
            return false;
        }
        if (key == kKeyEsc) {
            PowerUp();
            if (!Pause()) return false;
            PowerDown();
        } else if (key != kNoKey) {
            OpenForTechnician();
        }
        if (ScheduleCheck() == ScheduleChange::kOpened || CurrentScheduleStatus().open) break;
    }
    Open();
    return true;
}

}  // namespace

bool KeepOpeningHours() {
    if (ScheduleCheck() != ScheduleChange::kClosed) return true;
    return SleepWhileClosed();
}
