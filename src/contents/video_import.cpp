#include "contents/video_import.hpp"

#include "common/state.hpp"
#include "platform/process.hpp"

std::string FindConverter() {
    if (IsExecutableFile("./ffmpeg")) return "./ffmpeg";
    return FindOnPath("ffmpeg");
}

void ImportVideos() {}
