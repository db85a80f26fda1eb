#include "platform/picture.hpp"

#include <opencv2/imgcodecs.hpp>

#include "platform/files.hpp"

cv::Mat DecodePicture(const char* path) {
    return cv::imread(NativePath(path), cv::IMREAD_COLOR);
}

bool SavePicture(const char* path, const cv::Mat& picture) {
    if (picture.empty()) return false;
    try {
        return cv::imwrite(NativePath(path), picture);
    } catch (const cv::Exception&) {
        return false;
    }
}
