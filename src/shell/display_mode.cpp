#include "shell/display_mode.hpp"

#include "common/console.hpp"
#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "platform/window.hpp"

void ApplyDisplaySettings() {
    if (Fullscreen == 0 && DisplayIndex == 0 && HidePointer == 0) return;
    // A monitor that is not present was replaced by the first one: F11 keeps to that.
    DisplayIndex = WindowSetDisplay(Fullscreen, DisplayIndex, HidePointer);
}

void ToggleFullscreen() {
    Fullscreen = Fullscreen == 0 ? 1 : 0;
    Print("SET: Fullscreen = [ %s ]\n", Fullscreen == 1 ? "ON" : "OFF");
    DisplayIndex = WindowSetDisplay(Fullscreen, DisplayIndex, HidePointer);
    // Pictures decoded reduced for the old size would show blurred or too small: they are
    // decoded again at the scale the window shows now.
    DropCache();
    shown_frame_no = -1.0;
}
