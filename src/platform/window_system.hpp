// What the SDL window needs of the window system beneath SDL. window_x11.cpp serves X11 (and
// lets any other video system through); another system brings a sibling file of its own.
#pragma once

#include <SDL.h>

// Called once SDL video runs on driver: on X11 a protocol error is reported once and ignored
// instead of ending the process.
void WatchWindowSystemErrors(const char* driver);

// True when the window system grants SDL's fullscreen request for window: an X11 window manager
// (EWMH) runs, or the video system makes fullscreen itself (Wayland). False on a bare X server.
bool FullscreenGranted(SDL_Window* window);
