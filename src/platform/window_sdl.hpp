// Shared by the two files of the SDL window: window_sdl.cpp (video, window, presentation) and
// window_events_sdl.cpp (events, keys, waits).
#pragma once

// True once SDL video runs; without it there is no window and no event to serve.
bool SdlVideoRunning();

// Draws the picture shown and the overlays again (nothing without a renderer).
void PresentWindow();
