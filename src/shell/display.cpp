#include "shell/display.hpp"

#include <cstring>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "common/console.hpp"
#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "platform/files.hpp"
#include "platform/picture.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"
#include "shell/cache_budget.hpp"
#include "shell/main_loop.hpp"

namespace {

// Cycles in a row that showed the same frame; the tenth serves the window once more.
int32_t same_frame_cycles = 0;
constexpr int kSameFrameServeCycle = 10;

bool InList(int n) {
    return n >= 0 && n < MaxCount;
}

int CountLoaded() {
    int count = 0;
    for (int i = 0; i < MaxCount; ++i) count += FrameData[i].loaded == 1;
    return count;
}

// Decodes frame n into the cache; the cache is dropped whole once it holds CamOnMemory pictures
// or reaches its memory budget.
void LoadFrame(int n) {
    pending_key = 1;
    if (CountLoaded() >= CamOnMemory || CacheOverBudget()) DropCache();
    frame_cache[n] = DecodePicture(FrameData[n].file);
    if (frame_cache[n].empty()) {
        PrintError("ERROR: Cannot decode the frame picture [ %s ]\n", FrameData[n].file);
        EndProcess(1);
    }
    FrameData[n].loaded = 1;
    if (MaxCount > 0) DrawPositionMarker(frame_cache[n]);
}

// A frame's file2 replaces both side pictures: as it stands and mirrored left-right.
void ShowSidePictures(int n) {
    const FrameRecord& record = FrameData[n];
    if (record.file2[0] != '\0') {
        char* scratch = arg_path[scratch_slot];
        std::strncpy(scratch, record.file2, kArgSlotBytes - 1);
        scratch[kArgSlotBytes - 1] = '\0';
        if (CanOpenForReading(scratch)) {
            side_pictures[0] = DecodePicture(scratch);
            side_pictures[1] = DecodePicture(scratch);
            if (!side_pictures[1].empty()) cv::flip(side_pictures[1], side_pictures[1], 1);
        }
        Print("DISP: FrameData[ %5d ].http[2] = [%s]\n", n, record.file2);
    }
    if (record.file3[0] != '\0') {
        extra_picture = DecodePicture(record.file3);
        Print("DISP: FrameData[ %5d ].file[3] = [%s]\n", n, record.file3);
    }
}

}  // namespace

void DrawPositionMarker(cv::Mat& picture) {
    if (picture.empty() || MaxCount <= 0) return;
    const int x = static_cast<int>(picture.cols * frame_no / MaxCount);
    const int height = picture.rows;
    cv::rectangle(picture, cv::Point(x, height - 5), cv::Point(x, height), cv::Scalar(0, 255, 0),
                  10, cv::LINE_8);
    cv::rectangle(picture, cv::Point(x, height - 4), cv::Point(x, height),
                  cv::Scalar(200, 255, 200), 3, cv::LINE_8);
}

void DisplayStep() {
    const int n = static_cast<int>(frame_no);
    if (n == static_cast<int>(shown_frame_no)) {
        ++same_frame_cycles;
        if (same_frame_cycles == kSameFrameServeCycle && n >= 0 && n < kMaxFrames &&
            FrameData[n].loaded == 1) {
            WindowWaitKey(1);  // serves the window; the key is not used
        }
        return;
    }
    same_frame_cycles = 0;
    if (InList(n) && FrameData[n].loaded == 0 && FrameData[n].file[0] != '\0') LoadFrame(n);
    if (InList(n)) {
        ShowSidePictures(n);
        ShowCurrentFrame();
    }
    shown_frame_no = frame_no;
}

void ShowCurrentFrame() {
    const int n = static_cast<int>(frame_no);
    if (!InList(n) || FrameData[n].loaded != 1) return;
    // The cached picture stays as decoded: the window flips at drawing time.
    WindowShow(frame_cache[n], flip_mode);
}
