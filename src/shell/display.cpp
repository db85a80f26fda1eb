#include "shell/display.hpp"

#include <algorithm>
#include <cstring>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "common/console.hpp"
#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "platform/files.hpp"
#include "platform/picture.hpp"
#include "platform/picture_memory.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"
#include "shell/cache_budget.hpp"
#include "shell/decode_ahead.hpp"
#include "shell/show_stats.hpp"

cv::Mat extra_picture;

namespace {

// Cycles in a row that showed the same frame; the tenth serves the window once more.
int32_t same_frame_cycles = 0;
constexpr int kSameFrameServeCycle = 10;

bool InList(int n) {
    return n >= 0 && n < MaxCount;
}

// Full size of the frames of this folder as last decoded (0: not known yet).
cv::Size source_size;

// Decode at 1/2, 1/4 or 1/8 when the window shows the picture at that size or less: the screen
// shows the same, and a scaled JPEG decode costs a fraction of a full one. Never before the
// frame size is known, and never for the auto-size window (it shows pictures at their size).
int ShownReduction() {
    if (source_size.width <= 0 || source_size.height <= 0) return 1;
    const double scale = WindowShownScale(source_size.width, source_size.height);
    for (int denominator : {8, 4, 2}) {
        if (scale * denominator <= 1.0) return denominator;
    }
    return 1;
}

void PlanDecodeAhead() {
    if (!DecodeAheadOn()) return;
    const int denominator = ShownReduction();
    std::vector<AheadPicture> wanted;
    const int channels = WindowPictureChannels();
    for (int n : FramesAhead(kDecodeAheadFrames)) {
        wanted.push_back({FrameData[n].file, denominator, channels});
    }
    DecodeAheadWant(wanted);
}

// Decodes frame n into the cache; the cache is dropped whole once it holds CamOnMemory pictures
// or reaches its memory budget.
void LoadFrame(int n) {
    pending_key = 1;
    const int64_t budget = CacheBudgetBytes();  // the environment and the system, asked once
    const CacheFill fill = MeasureCache(budget);
    if (fill.pictures >= CamOnMemory || fill.over_budget) DropCache();
    // Pictures given back are kept for the next ones, within the memory the cache may hold.
    SetRecycledPictureLimit(budget);
    const int denominator = ShownReduction();
    const int channels = WindowPictureChannels();
    cv::Mat picture = DecodeAheadTake(FrameData[n].file, denominator, channels);
    const bool ahead = !picture.empty();
    if (!ahead) picture = DecodePictureReduced(FrameData[n].file, denominator, channels);
    CountDecodedPicture(ahead);
    frame_cache[n] = picture;
    if (frame_cache[n].empty()) {
        PrintError("ERROR: Cannot decode the frame picture [ %s ]\n", FrameData[n].file);
        EndProcess(1);
    }
    FrameData[n].loaded = 1;
    source_size = cv::Size(picture.cols * denominator, picture.rows * denominator);
    if (MaxCount > 0) DrawPositionMarker(frame_cache[n], denominator);
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

void DrawPositionMarker(cv::Mat& picture, int denominator) {
    if (picture.empty() || MaxCount <= 0) return;
    // Opaque on a BGRA picture too (a 3-channel picture ignores the fourth value).
    const cv::Scalar green(0, 255, 0, 255);
    const cv::Scalar light(200, 255, 200, 255);
    if (denominator <= 1) {
        const int x = static_cast<int>(picture.cols * frame_no / MaxCount);
        const int height = picture.rows;
        cv::rectangle(picture, cv::Point(x, height - 5), cv::Point(x, height), green, 10,
                      cv::LINE_8);
        cv::rectangle(picture, cv::Point(x, height - 4), cv::Point(x, height), light, 3,
                      cv::LINE_8);
        return;
    }
    // A picture decoded at 1/denominator is shown that much larger: the marker is drawn that
    // much smaller, at sub-pixel positions, so it looks the same on the screen.
    constexpr int kShift = 3;  // fraction bits of the points
    constexpr double kOne = 1 << kShift;
    const double x = static_cast<int>(picture.cols * denominator * frame_no / MaxCount);
    const auto at = [&](double px, double py) {
        return cv::Point(static_cast<int>(px * kOne / denominator + 0.5),
                         static_cast<int>(py * kOne / denominator + 0.5));
    };
    const double height = static_cast<double>(picture.rows) * denominator;
    const auto thickness = [&](int full) { return std::max(1, full / denominator); };
    cv::rectangle(picture, at(x, height - 5), at(x, height), green, thickness(10), cv::LINE_8,
                  kShift);
    cv::rectangle(picture, at(x, height - 4), at(x, height), light, thickness(3), cv::LINE_8,
                  kShift);
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
        CountShownPicture();
    }
    shown_frame_no = frame_no;
    PlanDecodeAhead();
}

void ShowCurrentFrame() {
    const int n = static_cast<int>(frame_no);
    if (!InList(n) || FrameData[n].loaded != 1) return;
    // The cached picture stays as decoded: the window flips at drawing time.
    WindowShow(frame_cache[n], flip_mode);
}
