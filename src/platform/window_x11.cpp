// The X11 part of the SDL window: the protocol-error handler and the window-manager test.
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

#include "common/console.hpp"
#include "platform/window_system.hpp"

namespace {

// Xlib's default handler ends the process on any protocol error, such as a request that still
// names a window just made anew. For a player that runs unattended for days that is never the
// right answer: the error is reported once and playback goes on.
int OnXError(Display*, XErrorEvent* error) {
    static bool reported = false;
    if (!reported) {
        reported = true;
        PrintError("WARNING: X error %d in request %d ignored; playback goes on.\n",
                   error->error_code, error->request_code);
    }
    return 0;
}

}  // namespace

void WatchWindowSystemErrors(const char* driver) {
    if (driver && std::strcmp(driver, "x11") == 0) XSetErrorHandler(OnXError);
}

bool FullscreenGranted(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char* value = nullptr;
    const bool found =
        XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &items, &left, &value) == Success &&
        items == 1;
    if (value) XFree(value);
    return found;
}
