// What the status server tells: a copy of the player's state taken by the main loop, and the
// page, JSON and metrics made from it on the server's thread.
#pragma once

#include <cstdint>
#include <string>

constexpr uint64_t kCameraStaleMicros = 3000000;  // on, but no new camera picture for 3 s

// The player's state at one cycle. Times are ClockMicros readings; 0 where it never happened.
struct StatusSnapshot {
    int32_t folder = 0;       // 1-based contents folder
    int32_t frame = 0;        // frame shown, 0-based
    int32_t frames = 0;       // frames of the folder
    int32_t direction = 1;    // 1 forward, 0 backward, other: still
    int32_t speed_level = 3;  // 1..5
    int32_t motion = 0;       // motion total of the cycle
    int32_t threshold = 0;    // motion above this moves the picture
    int32_t flip = 0;         // display flip: 0 none, 1 left-right, 2 top-bottom
    bool camera_on = false;
    bool camera_retrying = false;
    bool paused = false;
    double camera_fps = 0.0;  // new camera pictures a second, over the last second
    uint64_t camera_picture_at = 0;
    uint64_t new_picture_at = 0;
    uint64_t motion_at = 0;  // last cycle whose motion passed the threshold
    uint64_t started_at = 0;
    uint64_t frames_shown = 0;  // new pictures shown since the start
    uint64_t osc_refused = 0;   // OSC packets refused by the allow rules
    // Opening hours (SetSchedule.txt); without the file none of the views mentions them.
    bool schedule = false;
    bool open = true;
    int64_t next_change = 0;  // wall-clock seconds of the next opening or closing; 0: none known
    int64_t wall_time = 0;    // wall-clock seconds when the copy was taken
};

// "off", "on", "stale" (on without a new picture for 3 s) or "retrying" at now. A paused
// player has closed its camera: "off".
const char* CameraState(const StatusSnapshot& status, uint64_t now);

std::string StatusJson(const StatusSnapshot& status, uint64_t now);

// Prometheus text format; http_refused counts the HTTP requests turned away.
std::string StatusMetrics(const StatusSnapshot& status, uint64_t now, uint64_t http_refused);

// One self-contained HTML page that reloads itself every 2 s.
std::string StatusPage(const StatusSnapshot& status, uint64_t now);
