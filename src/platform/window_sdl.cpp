// Placeholder until the SDL2 window lands: no window, waits sleep.
#include <unistd.h>

#include <csignal>

#include "platform/window.hpp"

namespace {
volatile std::sig_atomic_t quit_requested = 0;
}

void WindowCreate(int) {}
void WindowDestroy() {}
void WindowShow(const cv::Mat&, int) {}
int WindowWaitKey(int ms) {
    if (quit_requested) return 255;
    usleep(static_cast<useconds_t>(ms > 0 ? ms : 1) * 1000u);
    return 255;
}
bool QuitRequested() { return quit_requested != 0; }
void RequestQuit() { quit_requested = 1; }
