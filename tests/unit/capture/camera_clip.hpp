// Camera sources for tests: real clip files that ZELTRAN_CAMERA_SOURCE points the camera at.
#pragma once

#include <cstdlib>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/videoio.hpp>
#include <string>
#include <vector>

namespace clip {

// A 320 x 240 picture whose blue, green and red are all level: its grey value is exactly level.
inline cv::Mat Flat(int level, int width = 320, int height = 240) {
    return cv::Mat(height, width, CV_8UC3, cv::Scalar(level, level, level));
}

// Writes pictures as the lossless sequence folder/cam_000.png, ... and returns the pattern that
// opens it as a camera.
inline std::string WriteSequence(const std::string& folder, const std::vector<cv::Mat>& pictures) {
    for (size_t i = 0; i < pictures.size(); ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/cam_%03zu.png", i);
        cv::imwrite(folder + name, pictures[i]);
    }
    return folder + "/cam_%03d.png";
}

// Writes pictures as a Motion-JPEG .avi video of rate pictures a second, as a real camera
// recording would be.
inline std::string WriteVideo(const std::string& path, const std::vector<cv::Mat>& pictures,
                              double rate = 30.0) {
    cv::VideoWriter writer(path, cv::VideoWriter::fourcc('M', 'J', 'P', 'G'), rate,
                           pictures.front().size());
    for (const cv::Mat& picture : pictures) writer.write(picture);
    writer.release();
    return path;
}

inline void UseSource(const std::string& source) {
    setenv("ZELTRAN_CAMERA_SOURCE", source.c_str(), 1);
}

}  // namespace clip
