// Reopening a camera that stopped, for rooms nobody attends (ZELTRAN_CAMERA_RETRY=SECONDS).
// Without the variable a camera switched off by a failed capture stays off until the user's q.
#pragma once

// Reads ZELTRAN_CAMERA_RETRY: a whole number of seconds 1..3600 turns retrying on; any other
// value is ignored with a one-line warning.
void ReadCameraRetrySetting();

// A failed capture switched the camera off: with retrying on, the first attempt comes one
// interval later.
void ArmCameraRetry();

// True while attempts are due after a failure (the camera is off).
bool CameraRetrying();

// The user took the camera over (q): no more attempts until the next failure; prints one line.
void StopCameraRetry();

// With the camera off and an attempt due: reads the camera settings silently, opens the camera
// and reads one picture (a device gives up after 1 s). When a 320 x 240 picture comes, camera_on
// is 1 and the camera-on banner is printed; otherwise the camera is released and the
// "Camera retry: not back yet (attempt N)" line printed, at most once a minute.
void RetryCameraWhenDue();
