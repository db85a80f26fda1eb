// Names of contents folders, frames and per-folder files (all relative to the working folder).
#pragma once

#include <string>

constexpr char kContentsBase[] = "..";

// "../S%3d" with blanks as zeros: folder 1 is ../S001, folder 1234 is ../S1234.
std::string ContentsFolderPath(long long folder_number);

// "../S%3d/clip_%5d.jpg" with blanks as zeros.
std::string FramePath(long long folder_number, int frame_number);

// True when text names a frame file: at least 16 bytes, the 16th byte from the end 'S' and the
// 10th '_' (a name ending in S00003_01250.jpg).
bool IsFrameFileName(const char* text);
