#include "shell/calibration.hpp"

#include <algorithm>
#include <cstdio>

#include "common/console.hpp"
#include "common/state.hpp"
#include "motion/motion.hpp"
#include "platform/clock.hpp"
#include "platform/overlay.hpp"

namespace {

constexpr uint64_t kMicrosPerSecond = 1000000;

bool running = false;
uint64_t started_us = 0;
int32_t highest = 0;
int shown_seconds = -1;  // seconds left in the notice shown

void Stop(const char* why) {
    running = false;
    OverlayShowNotice(nullptr, 0);
    Print("CALIBRATION: %s; the threshold stays %d\n", why, GLT_threshold);
}

void Finish() {
    running = false;
    OverlayShowNotice(nullptr, 0);
    GLT_threshold = CalibratedThreshold(highest);
    if (!WriteThresholdFile()) Print("[ NG ] Write Failed : [ %s ]\n", kThresholdFile);
    Print("SET: threshold = %d (empty room: highest %d over %d s)\n", GLT_threshold, highest,
          kCalibrationSeconds);
}

void ShowCountdown(int seconds_left) {
    if (seconds_left == shown_seconds) return;
    shown_seconds = seconds_left;
    char text[96];
    std::snprintf(text, sizeof text, "Leave the room empty: %d s  (F4 cancels)", seconds_left);
    const char* const lines[] = {text};
    OverlayShowNotice(lines, 1);
}

}  // namespace

void ToggleCalibration() {
    if (running) {
        Stop("cancelled");
        return;
    }
    if (camera_on == 0) {
        PrintText("CALIBRATION: the camera is off; switch it on with q, then press F4\n");
        return;
    }
    running = true;
    started_us = ClockMicros();
    highest = 0;
    shown_seconds = -1;
    Print("CALIBRATION: leave the camera's view empty for %d s (F4 again cancels)\n",
          kCalibrationSeconds);
    ShowCountdown(kCalibrationSeconds);
}

void UpdateCalibration(int32_t difference) {
    if (!running) return;
    if (camera_on == 0) {
        Stop("stopped, the camera went off");
        return;
    }
    highest = std::max(highest, difference);
    const uint64_t passed = ClockMicros() - started_us;
    const uint64_t whole = kCalibrationSeconds * kMicrosPerSecond;
    if (passed >= whole) {
        Finish();
        return;
    }
    ShowCountdown(static_cast<int>((whole - passed + kMicrosPerSecond - 1) / kMicrosPerSecond));
}
