// Key dispatch, and the commands on the frame position, speed, threshold and display.
#include "shell/keys.hpp"

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "common/console.hpp"
#include "common/language.hpp"
#include "common/state.hpp"
#include "contents/parameters.hpp"
#include "motion/motion.hpp"
#include "platform/window.hpp"
#include "shell/main_loop.hpp"

int32_t flip_mode = 0;
int32_t VARIABLE_SIZE_FLAG = 0;
int32_t contents_list[kMaxListedFolders];
int32_t contents_count = 0;
int32_t contents_listed = 0;

namespace {

constexpr int kTopSpeed = 5;
constexpr double kSmallStep = 1.0;   // frames moved by z / x
constexpr double kLargeStep = 10.0;  // frames moved by Z / X and '/' / '\'

// The shifted digits '!'..')' of a Japanese keyboard jump to 10 % .. 90 % of the folder.
constexpr char kShiftedDigits[] = "!\"#$%&'()";
constexpr double kJumpFractions[] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};

// Keys that have no command but still keep the idle step from running in their cycle.
constexpr char kQuietKeys[] = "@GMTY[]bfghkmty|";

const char* const kSpeedLines[] = {
    "SET: REPLAY_SPEED = [ VERY  SLOW ]  ( x 0.1 )\n",
    "SET: REPLAY_SPEED = [ S  L  O  W ]  ( x 0.5 )\n",
    "SET: REPLAY_SPEED = [ N O R M A L ] ( x 1.0 )\n",
    "SET: REPLAY_SPEED = [ F  A  S  T ]  ( x 3.0 )\n",
    "SET: REPLAY_SPEED = [ VERY  FAST ]  ( x 6.0 )\n",
};

// Index of key in the byte list, or -1 (NUL never matches).
int IndexIn(const char* list, int key) {
    for (int i = 0; list[i] != '\0'; ++i) {
        if (static_cast<unsigned char>(list[i]) == key) return i;
    }
    return -1;
}

void ToggleWindowSizing() {
    PrintKeyFunction("KEY FUNCTION : [BS][ Toggle VARIABLE_SIZE_FLAG ]\n");
    VARIABLE_SIZE_FLAG = VARIABLE_SIZE_FLAG == 0 ? 1 : 0;
    Print(_("SET: 画像表示用ウィンドウサイズ = [ %s ]\n"),
          VARIABLE_SIZE_FLAG == 1 ? _("自動変更") : _("手動変更"));
    WindowDestroy();
    WindowCreate(VARIABLE_SIZE_FLAG);
    shown_frame_no = -1.0;
}

void ToggleAutoReplay() {
    PrintKeyFunction("KEY FUNCTION : [TAB][ Toggle AutoReplayFlag ]\n");
    AutoReplayFlag = AutoReplayFlag == 0 ? 1 : 0;
    Print("SET: AutoReplayFlag = [ %s ]\n", AutoReplayFlag ? "ON" : "OFF");
}

void JumpToFraction(double fraction) {
    // An empty list has no position to jump to; a negative one would reach the display step.
    frame_no = MaxCount > 0 ? (MaxCount - 1) * fraction : 0.0;
    StartFrameNum = EndFrameNum = 0;
}

void StepBack(double step) {
    PrintKeyFunction("KEY FUNCTION : [z][ Decrease frame_no ]\n");
    StepBackward(step);
    PrintFrameNames();
}

void StepOn(double step) {
    PrintKeyFunction("KEY FUNCTION : [x][ Increase frame_no ]\n");
    StepForward(step);
    PrintFrameNames();
}

void ChangeSpeed(int change) {
    if (change > 0) {
        REPLAY_SPEED = REPLAY_SPEED >= kTopSpeed ? kTopSpeed : REPLAY_SPEED + 1;
    } else {
        REPLAY_SPEED = REPLAY_SPEED <= 1 ? 1 : REPLAY_SPEED - 1;
    }
    if (REPLAY_SPEED >= 1 && REPLAY_SPEED <= kTopSpeed) PrintText(kSpeedLines[REPLAY_SPEED - 1]);
}

void ChangeThreshold(int sign) {
    PrintKeyFunction(sign < 0 ? "KEY FUNCTION : [v][ Decrease GLT_threshold ]\n"
                              : "KEY FUNCTION : [V][ Increase GLT_threshold ]\n");
    if (!ReadThresholdFile()) Print("[ NG ] Read Failed : [ %s ]\n", kThresholdFile);
    const int64_t changed = static_cast<int64_t>(GLT_threshold) + sign * ThresholdKeyStep();
    if (changed < 0) {
        GLT_threshold = 0;
    } else {
        GLT_threshold = changed > INT32_MAX ? INT32_MAX : static_cast<int32_t>(changed);
    }
    Print("SET: GLT_threshold = [ %d ]\n", GLT_threshold);
    if (!WriteThresholdFile()) Print("[ NG ] Write Failed : [ %s ]\n", kThresholdFile);
    DISP_WEB_CAM_INFO = 0;
}

void SwitchFlipMode() {
    PrintKeyFunction("KEY FUNCTION : [e][ Change Flip Mode ]\n");
    // Only 0 and 1 take turns here; the top-bottom mode 2 (or any other value) goes back to 0.
    flip_mode = flip_mode == 0 ? 1 : 0;
    PrintText(flip_mode == 0 ? "SET: flip_mode = [ NORMAL ]\n"
                             : "SET: flip_mode = [ LEFT-RIGHT REVERSE ]\n");
    ShowCurrentFrame();
}

void SwitchCameraReport() {
    if (DISP_WEB_CAM_INFO == 1) return;
    DISP_WEB_CAM_INFO = DISP_WEB_CAM_INFO == 0 ? 2 : 0;
    Print("SET: DISP_WEB_CAM_INFO = [ %s ]\n", DISP_WEB_CAM_INFO == 2 ? "ENABLED" : "DISABLED");
}

void RandomFrame() {
    if (MaxCount <= 0) return;  // no frame to choose from
    PrintKeyFunction("KEY FUNCTION : [j][ Set frame_no at Random ]\n");
    frame_no = std::rand() % MaxCount;
}

void FirstFrame() {
    PrintKeyFunction("KEY FUNCTION : [l][ Reset Frame Number ]\n");
    frame_no = 0.0;
    StartFrameNum = EndFrameNum = 0;
}

// Commands of the letter keys; false when key has none.
bool RunLetterCommand(int key) {
    switch (key) {
        case 'z':
            StepBack(kSmallStep);
            return true;
        case 'Z':
        case '/':
            StepBack(kLargeStep);
            return true;
        case 'x':
            StepOn(kSmallStep);
            return true;
        case 'X':
        case '\\':
            StepOn(kLargeStep);
            return true;
        case 'R':
            folder_index = 0;
            PrintFolderMessage();
            ReloadFolder();
            return true;
        case 'r':
            ReloadFolder();
            return true;
        case 'n':
            NextFolder();
            return true;
        case 'p':
            PreviousFolder();
            return true;
        case 's':
            ChangeSpeed(+1);
            return true;
        case 'S':
            ChangeSpeed(-1);
            return true;
        case 'v':
            ChangeThreshold(-1);
            return true;
        case 'V':
            ChangeThreshold(+1);
            return true;
        case 'e':
            SwitchFlipMode();
            return true;
        case 'i':
            SwitchCameraReport();
            return true;
        case 'j':
            RandomFrame();
            return true;
        case 'l':
            FirstFrame();
            return true;
        case 'q':
            SwitchCamera();
            return true;
        default:
            return false;
    }
}

}  // namespace

void PrintKeyFunction(const char* line) {
    if (DISP_WEB_CAM_INFO != 0) PrintText(line);
}

void PrintFrameNames() {
    const int n = static_cast<int>(frame_no);
    if (n < 0 || n >= MaxCount || n >= kMaxFrames) return;
    if (FrameData[n].file2[0] != '\0') {
        Print("\nFrameData[ %5d ].http[2] = [%s]\n", n, FrameData[n].file2);
    }
    if (FrameData[n].file3[0] != '\0') {
        Print("FrameData[ %5d ].file[3] = [%s]\n", n, FrameData[n].file3);
    }
}

bool RunKeyCommand(int key) {
    switch (key) {
        case kKeyBackSpace:
            ToggleWindowSizing();
            return true;
        case kKeyTab:
            ToggleAutoReplay();
            return true;
        case kKeyEsc:
            return Pause();
        case kKeySpace:
            SelectRandomContents();
            return true;
        case '0':
            GoToFolder(9);
            return true;
        default:
            break;
    }
    if (key >= '1' && key <= '9') {
        GoToFolder(key - '1');
        return true;
    }
    const int shifted = IndexIn(kShiftedDigits, key);
    if (shifted >= 0) {
        JumpToFraction(kJumpFractions[shifted]);
        return true;
    }
    if (RunLetterCommand(key)) return true;
    if (IndexIn(kQuietKeys, key) >= 0) return true;
    IdleStep();
    return true;
}
