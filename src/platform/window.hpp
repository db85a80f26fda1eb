// The picture window seam: the program links window_sdl.cpp; tests may link a scripted window.
#pragma once

#include <cstdint>
#include <opencv2/core.hpp>

// Creates the window titled kWindowTitle: auto_size nonzero makes the window take each picture's
// size, 0 makes it resizable with the picture scaled to fit (aspect kept). Mouse events are
// ignored.
void WindowCreate(int auto_size);

// True when a window is open (there is a display): only then can a key be typed.
bool WindowOpen();

// Destroys the window (nothing when there is none).
void WindowDestroy();

// Shows picture (8-bit BGR) with flip mode 0 as is, 1 mirrored left-right, 2 flipped top-bottom,
// any other value as is; the picture itself is never changed. An empty picture is not shown.
void WindowShow(const cv::Mat& picture, int flip);

// Channels of the pictures the window shows without converting them: 4 (BGRA with alpha 255, the
// layout of its texture) or 3 (BGR). Frame pictures are decoded in this layout.
int WindowPictureChannels();

// The scale at which the window would show a picture of width x height now: 1.0 for the
// auto-size window, before a resizable one has taken its size, and without a window; else the
// letterbox scale of the resizable window. In fullscreen: the letterbox scale of the screen, or
// for the auto-size mode that scale when below 1.0, else 1.0.
double WindowShownScale(int width, int height);

// Puts the window on monitor display_index, covering it (picture letterboxed, or centred at its
// own size in the auto-size mode) when fullscreen is 1, and hides the mouse pointer over it when
// hide_pointer is 1. Windows made anew keep this. A monitor that is not present gives monitor 0
// and a one-line warning. Returns the monitor used (display_index as given without a window).
int WindowSetDisplay(int fullscreen, int display_index, int hide_pointer);

// Serves the window for up to ms milliseconds (ms <= 0: until a key) and returns the byte of the
// first key typed (TAB 9, BS 8, Enter 13, ESC 27, 'X' 88), or 255 when none came in time. Returns
// at once with 255 when a quit was requested.
int WindowWaitKey(int ms);

// Keys that are not bytes. The window hands them to the handler while it serves events and
// goes on waiting: the cycle never sees them.
enum class FunctionKey { kF1, kF2, kF4, kF11 };
using FunctionKeyHandler = void (*)(FunctionKey key);
void WindowOnFunctionKey(FunctionKeyHandler handler);

// Serves the window for micros microseconds, sleeping between its events, and returns after them
// (also when a quit was requested meanwhile). Keys typed meanwhile are kept for WindowWaitKey.
void WindowServeFor(int64_t micros);

// True once the window was closed or SIGINT / SIGTERM arrived: the caller runs the quit path.
bool QuitRequested();

// Marks a quit as requested (signal handlers, window close).
void RequestQuit();
