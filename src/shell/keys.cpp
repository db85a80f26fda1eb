// The key table (dispatch and key list), and the commands on the frame position, speed,
// threshold and display.
#include "shell/keys.hpp"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "capture/stopwatch.hpp"
#include "common/console.hpp"
#include "common/language.hpp"
#include "common/state.hpp"
#include "contents/parameters.hpp"
#include "motion/motion.hpp"
#include "platform/window.hpp"
#include "shell/calibration.hpp"
#include "shell/console_report.hpp"
#include "shell/display.hpp"
#include "shell/display_mode.hpp"
#include "shell/key_panel.hpp"
#include "shell/keys_camera.hpp"
#include "shell/keys_folders.hpp"
#include "shell/motion_meter.hpp"

int32_t REPLAY_SPEED = 3;
int32_t AutoReplayFlag = 0;

namespace {

constexpr int kTopSpeed = 5;
constexpr double kIdleRateLimit = 30.0;  // frames a second of automatic replay
constexpr double kSmallStep = 1.0;       // frames moved by z / x
constexpr double kLargeStep = 10.0;      // frames moved by Z / X and '/' / '\'

// The shifted digits '!'..')' of a Japanese keyboard jump to 10 % .. 90 % of the folder.
constexpr char kShiftedDigits[] = "!\"#$%&'()";
constexpr double kJumpFractions[] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};

const char* const kSpeedLines[] = {
    "SET: REPLAY_SPEED = [ VERY  SLOW ]  ( x 0.1 )\n",
    "SET: REPLAY_SPEED = [ S  L  O  W ]  ( x 0.5 )\n",
    "SET: REPLAY_SPEED = [ N O R M A L ] ( x 1.0 )\n",
    "SET: REPLAY_SPEED = [ F  A  S  T ]  ( x 3.0 )\n",
    "SET: REPLAY_SPEED = [ VERY  FAST ]  ( x 6.0 )\n",
};

// Microseconds still to wait until a stopwatch reading `rate` has come down to `limit`; at
// least 1, so the wait always ends past the limit.
int64_t MicrosToRate(double rate, double limit) {
    const double left = 1e6 / limit - 1e6 / rate;
    return left < 1.0 ? 1 : static_cast<int64_t>(std::ceil(left));
}

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

void StepBackSmall() {
    StepBack(kSmallStep);
}

void StepBackLarge() {
    StepBack(kLargeStep);
}

void StepOnSmall() {
    StepOn(kSmallStep);
}

void StepOnLarge() {
    StepOn(kLargeStep);
}

void ChangeSpeed(int change) {
    if (change > 0) {
        REPLAY_SPEED = REPLAY_SPEED >= kTopSpeed ? kTopSpeed : REPLAY_SPEED + 1;
    } else {
        REPLAY_SPEED = REPLAY_SPEED <= 1 ? 1 : REPLAY_SPEED - 1;
    }
    if (REPLAY_SPEED >= 1 && REPLAY_SPEED <= kTopSpeed) PrintText(kSpeedLines[REPLAY_SPEED - 1]);
}

void SpeedUp() {
    ChangeSpeed(+1);
}

void SpeedDown() {
    ChangeSpeed(-1);
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

void ThresholdDown() {
    ChangeThreshold(-1);
}

void ThresholdUp() {
    ChangeThreshold(+1);
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

void JumpToShiftedDigit(int key) {
    JumpToFraction(kJumpFractions[IndexIn(kShiftedDigits, key)]);
}

// '1'..'9' are S001..S009, '0' is S010.
void GoToDigitFolder(int key) {
    GoToFolder(key == '0' ? 9 : key - '1');
}

void BackToFirstFolder() {
    folder_index = 0;
    PrintFolderMessage();
    ReloadFolder();
}

void ShowKeyList();

template <void (*kCommand)()>
bool Run(int) {
    kCommand();
    return true;
}

template <void (*kCommand)(int)>
bool RunWithKey(int key) {
    kCommand(key);
    return true;
}

// One command of the picture window. This table is both the key dispatch and the key list of
// F1: each row with a panel line starts a line of the list, in the table's order.
struct KeyCommand {
    const char* bytes;     // the key bytes that run it; nullptr for a function key
    FunctionKey function;  // the function key where bytes is nullptr
    bool (*run)(int key);  // false: the user quit; nullptr: no command, the idle step runs
    const char* panel;     // "KEYS\tWHAT IT DOES" in the key list; nullptr: no line of its own
};

static_assert(kKeyTab == '\t' && kKeyBackSpace == '\b' && kKeyEnter == '\r' && kKeyEsc == '\x1b' &&
              kKeySpace == ' ');

const KeyCommand kKeyCommands[] = {
    {nullptr, FunctionKey::kF1, Run<ShowKeyList>, "F1\tthis key list on / off"},
    {nullptr, FunctionKey::kF2, Run<ToggleMotionMeter>, "F2\tmotion meter on / off"},
    {nullptr, FunctionKey::kF4, Run<ToggleCalibration>,
     "F4\tcalibrate the threshold (10 s of empty room)"},
    {nullptr, FunctionKey::kF11, Run<ToggleFullscreen>, "F11\tfullscreen / window"},
    {"q", {}, Run<SwitchCamera>, "q\tcamera on / off"},
    {"z", {}, Run<StepBackSmall>, "z  x\tone frame back / forward"},
    {"x", {}, Run<StepOnSmall>, nullptr},
    {"Z/", {}, Run<StepBackLarge>, "Z  X\tten frames back / forward"},
    {"X\\", {}, Run<StepOnLarge>, nullptr},
    {kShiftedDigits, {}, RunWithKey<JumpToShiftedDigit>, "!  \"  # .. )\tjump to 10 % .. 90 %"},
    {"l", {}, Run<FirstFrame>, "l  j\tfirst frame / random frame"},
    {"j", {}, Run<RandomFrame>, nullptr},
    {"\t", {}, Run<ToggleAutoReplay>, "TAB\tautomatic replay on / off"},
    {"s", {}, Run<SpeedUp>, "s  S\treplay speed up / down"},
    {"S", {}, Run<SpeedDown>, nullptr},
    {"v", {}, Run<ThresholdDown>, "v  V\tthreshold down / up"},
    {"V", {}, Run<ThresholdUp>, nullptr},
    {"e", {}, Run<SwitchFlipMode>, "e\tmirror the picture"},
    {"1234567890", {}, RunWithKey<GoToDigitFolder>, "1 .. 9  0\tfolder S001 .. S010"},
    {"n", {}, Run<NextFolder>, "n  p\tnext / previous folder"},
    {"p", {}, Run<PreviousFolder>, nullptr},
    {"r", {}, Run<ReloadFolder>, "r  R\treload folder / back to S001"},
    {"R", {}, Run<BackToFirstFolder>, nullptr},
    {" ", {}, Run<SelectRandomContents>, "SPACE\trandom folder"},
    {"i", {}, Run<SwitchCameraReport>, "i\tcamera line on the console"},
    {"\b", {}, Run<ToggleWindowSizing>, "BackSpace\twindow follows picture size"},
    // The cycle shows the help before the dispatch (main_loop); here Enter has no command.
    {"\r", {}, nullptr, "Enter\thelp on the console"},
    {"\x1b", {}, [](int) { return Pause(); }, "ESC\tpause; then Enter resumes, ESC quits"},
    // Keys that have no command but still keep the idle step from running in their cycle.
    {"@GMTY[]bfghkmty|", {}, [](int) { return true; }, nullptr},
};

// The command of a key byte; nullptr for a byte no row names (NUL never matches).
const KeyCommand* CommandOfByte(int key) {
    if (key <= 0 || key > 255) return nullptr;
    for (const KeyCommand& command : kKeyCommands) {
        if (command.bytes != nullptr && IndexIn(command.bytes, key) >= 0) return &command;
    }
    return nullptr;
}

void ShowKeyList() {
    static const std::vector<const char*> lines = [] {
        std::vector<const char*> panel;
        for (const KeyCommand& command : kKeyCommands) {
            if (command.panel != nullptr) panel.push_back(command.panel);
        }
        return panel;
    }();
    ToggleKeyPanel(lines.data(), static_cast<int>(lines.size()));
}

}  // namespace

bool RunKeyCommand(int key) {
    const KeyCommand* command = CommandOfByte(key);
    if (command == nullptr || command->run == nullptr) {
        IdleStep();
        return true;
    }
    return command->run(key);
}

void HandleFunctionKey(FunctionKey key) {
    for (const KeyCommand& command : kKeyCommands) {
        if (command.bytes == nullptr && command.function == key) command.run(0);
    }
}

void IdleStep() {
    if (AutoReplayFlag == 0) return;
    if (direction == 1) {
        StepForward(1.0);
    } else if (direction == 0) {
        StepBackward(1.0);
    } else {
        return;
    }
    PrintFrameNames();
    // At most 30 frames a second; a slow cycle is not made up. The rest of the frame time is
    // slept with the window served, not spun on the clock: a gallery runs this for days.
    for (;;) {
        f_rate = ReadTimer();
        if (f_rate <= kIdleRateLimit) break;
        WindowServeFor(MicrosToRate(f_rate, kIdleRateLimit));
    }
    StartTimer();
}
