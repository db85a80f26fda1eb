// The player's own pictures (key chart shown while paused, the two arrows) and synthetic contents
// frames, shared by zeltran_pictures and zeltran-setup.
#pragma once

#include <cstddef>
#include <opencv2/core.hpp>
#include <string>

// File names of the player's own pictures, in the order they are written.
constexpr const char* kOwnPictureFiles[] = {"keyallocation_01.jpg", "to_left.jpg", "to_right.jpg"};
constexpr size_t kOwnPictureCount = std::size(kOwnPictureFiles);

// The picture stored under kOwnPictureFiles[index].
cv::Mat OwnPicture(size_t index);

// Saves picture as a JPEG at path; false (with a message on stderr naming program) on failure.
bool SaveOwnPicture(const char* program, const std::string& path, const cv::Mat& picture);

// Writes frames ../clip_00000.jpg .. of a synthetic clip into folder: a colour that changes with
// the number, and the number itself. False at the first frame that cannot be written.
bool WriteSyntheticFrames(const char* program, const std::string& folder, int count, int width,
                          int height);
