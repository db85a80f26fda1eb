#include "shell/function_keys.hpp"

#include "shell/calibration.hpp"
#include "shell/display_mode.hpp"
#include "shell/key_panel.hpp"
#include "shell/motion_meter.hpp"

void HandleFunctionKey(FunctionKey key) {
    switch (key) {
        case FunctionKey::kF1:
            ToggleKeyPanel();
            break;
        case FunctionKey::kF2:
            ToggleMotionMeter();
            break;
        case FunctionKey::kF4:
            ToggleCalibration();
            break;
        case FunctionKey::kF11:
            ToggleFullscreen();
            break;
    }
}
