// The display powered down through X11: the screen saver extension and DPMS (libXext), on a
// connection of its own so the window's connection stays SDL's.
#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

#include <cstring>

#include "platform/display_power.hpp"

namespace {

Display* display = nullptr;  // open while the display is down
bool dpms_used = false;
BOOL dpms_was_enabled = False;
SDL_bool saver_was_enabled = SDL_FALSE;

bool OnX11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

}  // namespace

DisplayPower DisplayPowerOff() {
    if (display) return dpms_used ? DisplayPower::kDpmsOff : DisplayPower::kScreenSaver;
    if (!OnX11()) return DisplayPower::kUntouched;
    display = XOpenDisplay(nullptr);
    if (!display) return DisplayPower::kUntouched;
    // SDL keeps the screen saver from starting while its window is open, and resets it now and
    // then: allowed again, the blanked screen stays blank.
    saver_was_enabled = SDL_IsScreenSaverEnabled();
    SDL_EnableScreenSaver();
    XForceScreenSaver(display, ScreenSaverActive);
    int event_base = 0;
    int error_base = 0;
    dpms_used = DPMSQueryExtension(display, &event_base, &error_base) && DPMSCapable(display);
    if (dpms_used) {
        CARD16 level = 0;
        DPMSInfo(display, &level, &dpms_was_enabled);
        if (!dpms_was_enabled) DPMSEnable(display);
        DPMSForceLevel(display, DPMSModeOff);
    }
    XFlush(display);
    return dpms_used ? DisplayPower::kDpmsOff : DisplayPower::kScreenSaver;
}

void DisplayPowerOn() {
    if (!display) return;
    if (dpms_used) {
        DPMSForceLevel(display, DPMSModeOn);
        if (!dpms_was_enabled) DPMSDisable(display);
    }
    XForceScreenSaver(display, ScreenSaverReset);
    XFlush(display);
    XCloseDisplay(display);
    display = nullptr;
    dpms_used = false;
    if (!saver_was_enabled) SDL_DisableScreenSaver();
}
