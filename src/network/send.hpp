// Sending OSC over UDP to the targets of the settings file, never waiting: a message that finds a
// full send buffer is dropped.
#pragma once

#include <cstdint>

#include "network/settings.hpp"

struct SendCounts {
    uint64_t sent;     // datagrams handed to the system
    uint64_t dropped;  // datagrams the system did not take (full buffer, no route)
};

// Opens one connected non-blocking socket per target. False, with the reason on
// stderr, when no target can be served.
bool OpenTargets(const NetworkSettings& settings);

// `/zeltran/motion ,ii SLOT VALUE` to every target.
void SendMotion(int32_t slot, int32_t value);

// `/zeltran/status ,iiiif FOLDER FRAME FRAMES CAMERA RATE` to every target.
void SendStatus(int32_t folder, int32_t frame, int32_t frames, int32_t camera, float rate);

// `/zeltran/schedule ,ii OPEN SECONDS` to every target: 1 open / 0 closed, and the seconds until
// the next opening or closing (-1 when none is known).
void SendSchedule(int32_t open, int32_t seconds_to_change);

SendCounts CountsOfSending();

// Closes the sockets; nothing is sent afterwards.
void CloseTargets();
