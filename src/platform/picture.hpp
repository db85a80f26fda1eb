// Picture files.
#pragma once

#include <opencv2/core.hpp>

// Decodes a picture file as 8-bit 3-channel BGR; empty when it cannot be read or decoded. A stored
// '\' in path is taken as '/'.
cv::Mat DecodePicture(const char* path);

// Saves picture as JPEG; false on failure.
bool SavePicture(const char* path, const cv::Mat& picture);
