#include "shell/main_loop.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "block/shared_block.hpp"
#include "capture/camera_switch.hpp"
#include "capture/capture.hpp"
#include "capture/help.hpp"
#include "capture/stopwatch.hpp"
#include "common/console.hpp"
#include "common/path.hpp"
#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "contents/naming.hpp"
#include "contents/parameters.hpp"
#include "motion/motion.hpp"
#include "platform/camera.hpp"
#include "platform/files.hpp"
#include "platform/picture.hpp"
#include "platform/window.hpp"
#include "shell/calibration.hpp"
#include "shell/camera_log.hpp"
#include "shell/console_report.hpp"
#include "shell/display.hpp"
#include "shell/keys.hpp"
#include "shell/motion_meter.hpp"
#include "shell/opening_hours.hpp"
#include "shell/remote.hpp"
#include "shell/service_report.hpp"
#include "status/status.hpp"

namespace {

constexpr int kKeyPollMs = 1;
constexpr double kReplayPeriodHalf = 22000.0;
constexpr int kDropKey = 1;  // dispatched instead of a key typed while a frame was decoded
constexpr int kFrameNameDigits = 5;

// Frame file on the command line (a name ending in S00003_01250.jpg): start in that folder at
// that frame.
void StartAtNamedFrame() {
    if (arg_count < 2 || !IsFrameFileName(arg_path[1])) return;
    const char* name = arg_path[1];
    const size_t length = std::strlen(name);
    Print("\n***** Given File Name : [ %s ]\n", name);
    char dir_text[kFrameNameDigits + 1] = {};
    char frame_text[kFrameNameDigits + 1] = {};
    std::memcpy(dir_text, name + length - 15, kFrameNameDigits);
    std::memcpy(frame_text, name + length - 9, kFrameNameDigits);
    Print("DirNumString=[ %s ]   FrameNumString=[ %s ]\n", dir_text, frame_text);
    folder_index = std::atoi(dir_text) - 1;
    Print("\n***** Changed Contents Directory to [%c%3d] \n", 'S', folder_index + 1);
    CheckContents();
    LoadParameters();
    frame_no = std::atof(frame_text);
    Print("\n***** Changed current frame_no = %f\n\n", frame_no);
    if (frame_no > 0.0) {
        shown_frame_no = -1.0;
        StartFrameNum = static_cast<int32_t>(frame_no - kReplayPeriodHalf);
        if (StartFrameNum < 0) StartFrameNum = 0;
        EndFrameNum = static_cast<int32_t>(frame_no + kReplayPeriodHalf);
        if (EndFrameNum > MaxCount - 1) EndFrameNum = MaxCount - 1;
        Print("SET REPLAY PERIOD : [ %6d ] <-> [%6d]\n", StartFrameNum, EndFrameNum);
    }
}

double SpeedFactorOf(int level, double previous) {
    switch (level) {
        case 1:
            return 0.1;
        case 2:
            return 0.5;
        case 3:
            return 1.0;
        case 4:
            return 3.0;
        case 5:
            return 6.0;
        default:
            return previous;
    }
}

void BeginCycle() {
    toggle_limit = camera_on ? 3 : 5;
    reset_limit = camera_on ? 1 : 2;
    StartFrameNum = EndFrameNum = 0;
    speed_factor = SpeedFactorOf(REPLAY_SPEED, speed_factor);
    VR_step = speed_factor;
    if (AutoReplayFlag == 0) {
        f_rate = ReadTimer();
        StartTimer();
    }
}

}  // namespace

void RunPrologue() {
    Print("\n");
    OpenSharedBlock();
    StartThreshold();
    Print("The system is starting up. This may take a while.\n\n");
    LoadParameters();
    CheckContents();
    LoadParameters();
    StartAtNamedFrame();
    ShowHelp();
    StartTimer();
    camera_log_mode = 2;
}

bool RunCycle() {
    if (!KeepOpeningHours()) return false;
    BeginCycle();
    GLT_Capture();
    MeasureDifference(grey_pair, camera_on != 0, VR_threshold);
    UpdateCalibration(DifferenceSum);
    AdvanceFrame(DifferenceSum, VR_threshold);
    LogCameraPicture();
    ReportStatus();
    UpdateMotionMeter();
    DisplayStep();
    PublishStatus(false);
    ReportToService();
    const int key = PollRemote(WindowWaitKey(kKeyPollMs) & 0xFF);
    if (QuitRequested()) {
        // Window closed, Ctrl+C or SIGTERM: the same ending as the quit key.
        ShutDown();
        return false;
    }
    if (key == kKeyEnter) {
        ShowHelp();
        ClearSharedBlock();
    }
    UpdateThreshold();
    // A key typed while a new picture was being decoded is dropped, so key repeats cannot
    // outrun the display.
    const bool go_on = RunKeyCommand(pending_key == 1 ? kDropKey : key);
    pending_key = 0;
    return go_on;
}

void RunMainLoop() {
    RunPrologue();
    while (RunCycle()) {
    }
}
