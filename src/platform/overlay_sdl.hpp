// The hooks of the panels into the SDL window (window_sdl.cpp).
#pragma once

#include <SDL.h>

// Draws the panels that are on over what renderer holds, laid out for its output size.
void OverlayDraw(SDL_Renderer* renderer);

// True when a panel was switched on or off, or a shown meter changed and the window presented
// nothing for kMeterSlotMs: the window presents its picture again.
bool OverlayWantsPresent();

// Frees what the panels keep of renderer; call before it is destroyed.
void OverlayReleaseRenderer();
