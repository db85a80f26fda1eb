#include "contents/video_import.hpp"

#include "common/state.hpp"

void ImportVideos() {}
