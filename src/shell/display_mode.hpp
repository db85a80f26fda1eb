// Fullscreen, monitor and mouse pointer of the picture window (SetDisplay.txt, key F11).
#pragma once

// Gives the window the settings read from SetDisplay.txt. With all three at 0 (or no file) the
// window is left exactly as it was made.
void ApplyDisplaySettings();

// F11: fullscreen on / off; the settings file is not rewritten.
void ToggleFullscreen();
