// The status server: a page, JSON, metrics and the two pictures over HTTP (`http PORT` in
// SetNetwork.txt). Without that line nothing of it starts and every call costs a flag test.
#pragma once

#include "network/settings.hpp"

// Starts serving settings.http_port (when set) to the clients the allow rules accept.
void StartStatusServer(const NetworkSettings& settings);

// The main loop's share after the display step: notes what changed (new picture, new camera
// picture, motion) and, while serving, leaves a copy of the state and the pictures asked for.
// paused: the player waits in its pause.
void PublishStatus(bool paused);

// True when the camera is on but sent no new picture (one that differs from the one before) for
// 3 s. Follows the camera only while serving or reporting to a service manager.
bool CameraStale();

// Stops serving (nothing when not serving).
void StopStatusServer();
