// The motion settings file SetMotion.txt: `mask FILE` (a picture, dark where changes never
// count) and `light 1` (a change of the whole picture is not motion); `#` starts a comment.
#pragma once

#include <string>
#include <vector>

constexpr char kMotionSettingsFile[] = "SetMotion.txt";

// What the last reading found of the mask.
struct MotionMaskReport {
    std::string file;   // as named in the file; empty: no mask line
    bool read = false;  // the picture was decoded
    int width = 0;      // its own size
    int height = 0;
    double excluded = 0.0;  // share of the camera picture that never counts, 0..1
};
extern MotionMaskReport motion_mask_report;

// Reads SetMotion.txt into motion_filter (both options off first) and, with report, prints every
// setting as a "SET:" line, each bad line with its number and an unreadable mask on stderr. A
// missing file is silent and leaves the plain measurement. With skipped, each bad line goes there
// instead of stderr, as "line N: \"TEXT\" is not read: REASON" (the installation check).
void LoadMotionSettings(bool report = true, std::vector<std::string>* skipped = nullptr);
