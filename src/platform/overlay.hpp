// Panels drawn over the picture each time the window presents it: the motion meter and the key
// list. They are never drawn into a picture, so the frame cache, the camera log and the mirrored
// picture stay as they are. Without a window nothing is drawn.
#pragma once

#include <cstdint>
#include <opencv2/core.hpp>

constexpr int kMeterSlots = 200;        // graph of the last 10 s of the total
constexpr int kMeterSlotMs = 50;        // one graph slot; also the shortest redraw interval
constexpr int kMeterCameraWidth = 160;  // camera picture in the meter, half the camera size
constexpr int kMeterCameraHeight = 120;
constexpr int kMeterTextBytes = 192;

struct MeterPanel {
    cv::Mat camera;                // kMeterCameraWidth x kMeterCameraHeight BGR; empty: camera off
    uint32_t camera_serial = 0;    // changes whenever camera does
    int32_t own = 0;               // this copy's motion value of the cycle
    int32_t total = 0;             // the total of the shared block
    int32_t threshold = 0;         // the motion threshold of the cycle
    int32_t full_scale = 1;        // the highest value the measurement can give: top of the bars
    int32_t history[kMeterSlots];  // the total per slot, oldest first; below 0: no value
    char text[kMeterTextBytes];    // one status line
};

// Shows panel over the picture (nullptr hides it). The window keeps the pointer, so the panel
// must live while it is shown. Each call marks the meter changed: a changed meter is presented
// again at most every kMeterSlotMs, a meter switched on or off at once.
void OverlayShowMeter(const MeterPanel* panel);

// Shows the key list: count lines of the form "KEY\tWHAT IT DOES" under a title (count 0 hides
// it). The lines must live while they are shown.
void OverlayShowKeys(const char* title, const char* const* lines, int count);

// Hides every panel while hidden is true, so the key chart of the pause shows whole. F1 and F2
// still switch the panels meanwhile; they show as switched once hidden is false again.
void OverlayHidePanels(bool hidden);

// Shows count lines of text in a panel in the middle of the window, over everything else (count 0
// hides it); the text is set smaller when a line would not fit. The lines are copied.
void OverlayShowNotice(const char* const* lines, int count);
