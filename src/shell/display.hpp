// The display step of the main loop.
#pragma once

#include <opencv2/core.hpp>

// Decodes the frame at the integer part of frame_no into the cache when needed (dropping the
// whole cache at the CamOnMemory limit or its memory budget), shows its side pictures and the frame
// itself.
void DisplayStep();

// Shows the cached picture of the current frame now, following flip_mode, when it is loaded.
void ShowCurrentFrame();

// Draws the playback position marker for frame_no into the bottom edge of picture. A picture
// decoded at 1/denominator of its size gets the marker scaled the same way.
void DrawPositionMarker(cv::Mat& picture, int denominator = 1);
