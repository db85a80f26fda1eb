// Picture files.
#pragma once

#include <opencv2/core.hpp>

// Decodes a picture file as 8-bit 3-channel BGR; empty when it cannot be read or decoded. A stored
// '\' in path is taken as '/'. JPEG files are decoded by TurboJPEG straight into BGR; anything it
// does not take (other formats, CMYK, EXIF orientation) goes through the OpenCV reader.
cv::Mat DecodePicture(const char* path);

// Decodes a picture at 1/denominator of its size in both directions (denominator 1, 2, 4 or 8;
// any other value is taken as 1), sizes rounded up. JPEG files are scaled while decoding, which
// is several times faster than a full decode; other pictures are decoded and then shrunk.
// channels 4 gives the same picture as BGRA with alpha 255 (as cv::COLOR_BGR2BGRA makes it),
// the layout of the window's texture, in memory that earlier such pictures gave back.
cv::Mat DecodePictureReduced(const char* path, int denominator, int channels = 3);

// Width and height of a JPEG file, read from its header without decoding; false when it is no
// JPEG or its header cannot be read.
bool JpegSize(const char* path, int* width, int* height);

// Frees what the calling thread keeps for decoding (its JPEG decompressor and buffer); a thread
// that decoded calls it before it ends. A later decode in the thread makes them again.
void ReleasePictureDecoder();

// Saves picture as JPEG; false on failure.
bool SavePicture(const char* path, const cv::Mat& picture);
