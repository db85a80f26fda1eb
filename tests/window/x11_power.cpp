// The display's power state as the X server reports it. Kept in its own file because Xlib's
// macros (None, Status, Bool) clash with other headers.
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>

int XScreenSaverOn() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return -1;
    int event_base = 0;
    int error_base = 0;
    int state = -1;
    if (XScreenSaverQueryExtension(display, &event_base, &error_base)) {
        XScreenSaverInfo* info = XScreenSaverAllocInfo();
        if (XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) {
            state = info->state == ScreenSaverOn ? 1 : 0;
        }
        XFree(info);
    }
    XCloseDisplay(display);
    return state;
}

int XDpmsOff() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return -1;
    int event_base = 0;
    int error_base = 0;
    int state = -1;
    if (DPMSQueryExtension(display, &event_base, &error_base) && DPMSCapable(display)) {
        CARD16 level = 0;
        BOOL enabled = False;
        DPMSInfo(display, &level, &enabled);
        state = level == DPMSModeOff ? 1 : 0;
    }
    XCloseDisplay(display);
    return state;
}
