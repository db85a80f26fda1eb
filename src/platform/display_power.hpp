// Powering the display down while the room is closed, where the desktop lets a program do it.
#pragma once

enum class DisplayPower {
    kUntouched,    // no X11 display (Wayland, or no window): the display stays on
    kScreenSaver,  // the X server's screen saver blanks the screen (a server without DPMS)
    kDpmsOff,      // the screen saver and DPMS: the monitor is switched off
};

// Powers the display down (nothing when it already is) and says how.
DisplayPower DisplayPowerOff();

// Brings the display back as it was before DisplayPowerOff (nothing when it was not down).
void DisplayPowerOn();
