#include "contents/frame_list.hpp"

#include "common/state.hpp"

int32_t folder_index = 0;
FrameRecord FrameData[kMaxFrames];
int32_t MaxCount = 0;
cv::Mat frame_cache[kMaxFrames];
double frame_no = 0.0;

void CheckContents() {}
void DropCache() {}
