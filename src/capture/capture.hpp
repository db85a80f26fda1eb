// Camera capture: one camera frame a cycle into the motion room's grey pair.
#pragma once

// Takes one camera frame into the next half of grey_pair (KeepGreyPicture). While camera_on is
// 0 it only gives the camera retry its turn. A failed read or a frame other than 320 x 240 BGR
// turns the camera off with its messages and arms the retry.
void GLT_Capture();
