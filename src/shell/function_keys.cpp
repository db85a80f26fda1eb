#include "shell/function_keys.hpp"

#include "shell/display_mode.hpp"

void HandleFunctionKey(FunctionKey key) {
    switch (key) {
        case FunctionKey::kF11:
            ToggleFullscreen();
            break;
        default:
            break;
    }
}
