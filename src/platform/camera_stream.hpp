// Network cameras (rtsp://, http://, https://) and GStreamer pipelines (gst:PIPELINE), read on a
// thread of their own that keeps only the newest picture, so a slow cycle never measures a
// picture that waited in a queue. Used by camera_cv.cpp behind the camera seam.
#pragma once

#include <opencv2/core.hpp>
#include <string>

// The text OpenCV's GStreamer backend opens for "gst:PIPELINE": the pipeline, ending in an
// appsink of 8-bit BGR pictures when it names no appsink of its own.
std::string GstreamerPipeline(const std::string& source);

// Starts reading source on the stream thread; the connection is made there, so this returns at
// once. Closes a stream that was open.
void StreamOpen(const std::string& source);

bool StreamIsOpen();

// The newest picture that this call has not given yet, scaled to 320 x 240 BGR. Waits at most
// 1 s for it; false when none came, with StreamFault() saying why.
bool StreamRead(cv::Mat* frame);

// Stops the stream thread. A thread still inside a connection attempt or a read is left to end
// by itself (within the timeouts of the reader), so this never holds the cycle for long.
void StreamRelease();

// Why the last open or read failed, in one line naming the source (credentials hidden); empty
// when nothing failed.
std::string StreamFault();
