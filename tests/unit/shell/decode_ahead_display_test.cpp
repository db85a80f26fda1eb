// The display step with the decode-ahead thread shows the same pictures, keeps the same flags and
// prints the same lines as when it decodes every frame itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "fakes/fake_window.hpp"
#include "motion/motion.hpp"
#include "shell/decode_ahead.hpp"
#include "shell/display.hpp"
#include "support/temp_tree.hpp"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

struct Cycle {
    int frame;                // frame number after the advance
    int shown;                // pictures shown so far
    std::vector<int> loaded;  // loaded flags of the folder
    int pending;              // pending_key after the display step
};

struct Playback {
    std::vector<Cycle> cycles;
    std::vector<cv::Mat> pictures;  // every picture shown, in order
    std::string output;
    int decoded_ahead = 0;
};

// One moving cycle as the main loop runs it: the advance, then the display step.
void MovingCycle(Playback& run) {
    AdvanceFrame(DifferenceSum, VR_threshold);
    DisplayStep();
    Cycle cycle{static_cast<int>(frame_no), static_cast<int>(fake::shown.size()), {}, pending_key};
    for (int n = 0; n < MaxCount; ++n) cycle.loaded.push_back(FrameData[n].loaded);
    run.cycles.push_back(cycle);
    pending_key = 0;
    // Lets the thread finish what it was given, so the next cycle finds it ready.
    DecodeAheadWaitIdle();
}

void Moves(Playback& run, int cycles, double step, int dir) {
    for (int i = 0; i < cycles; ++i) {
        VR_step = step;
        if (dir >= 0) direction = dir;
        MovingCycle(run);
    }
}

// Forward with wrap, very fast, backward over the start, a folder change and cache drops.
Playback PlayScenario(bool ahead, double window_scale) {
    SetDecodeAhead(ahead);
    fake::ResetWindow();
    fake::shown_scale = window_scale;
    Playback run;
    const int before = DecodeAheadCount();
    CaptureStdout();
    folder_index = 0;
    CheckContents();
    DropCache();
    std::strcpy(FrameData[4].file3, "../S001/clip_00002.jpg");  // prints its DISP line
    wrap_flag = 1;
    CamOnMemory = 4;
    shown_frame_no = -1.0;
    DifferenceSum = 1000000;
    VR_threshold = 1;
    DisplayStep();
    Moves(run, 14, 1.0, 1);
    Moves(run, 6, 6.0, 1);
    Moves(run, 15, 1.0, 0);
    Moves(run, 8, 0.5, 0);
    folder_index = 1;
    DropCache();
    CheckContents();
    wrap_flag = 1;
    DifferenceSum = 1000000;
    shown_frame_no = -999.0;
    Moves(run, 12, 1.0, 1);
    run.output = GetCapturedStdout();
    for (const fake::Shown& shown : fake::shown) run.pictures.push_back(shown.picture);
    run.decoded_ahead = DecodeAheadCount() - before;
    DecodeAheadStop();
    return run;
}

bool SamePicture(const cv::Mat& a, const cv::Mat& b) {
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0.0;
}

}  // namespace

TEST(DecodeAheadDisplay, SameFramesFlagsAndMessagesAsThePlainPath) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(10), 96, 64);
    tree.MakeFrames(2, FrameRange(7), 96, 64);
    for (double scale : {1.0, 0.5, 0.2}) {
        const Playback plain = PlayScenario(false, scale);
        const Playback ahead = PlayScenario(true, scale);
        EXPECT_EQ(plain.decoded_ahead, 0);
        EXPECT_GT(ahead.decoded_ahead, 20) << "the thread did the decoding, scale " << scale;
        EXPECT_EQ(ahead.output, plain.output) << "scale " << scale;
        EXPECT_NE(plain.output.find("DISP: FrameData[     4 ].file[3] = [../S001/clip_00002.jpg]"),
                  std::string::npos);
        ASSERT_EQ(ahead.cycles.size(), plain.cycles.size());
        for (size_t i = 0; i < plain.cycles.size(); ++i) {
            EXPECT_EQ(ahead.cycles[i].frame, plain.cycles[i].frame) << "cycle " << i;
            EXPECT_EQ(ahead.cycles[i].shown, plain.cycles[i].shown) << "cycle " << i;
            EXPECT_EQ(ahead.cycles[i].loaded, plain.cycles[i].loaded) << "cycle " << i;
            EXPECT_EQ(ahead.cycles[i].pending, plain.cycles[i].pending) << "cycle " << i;
        }
        ASSERT_EQ(ahead.pictures.size(), plain.pictures.size());
        for (size_t i = 0; i < plain.pictures.size(); ++i) {
            EXPECT_TRUE(SamePicture(ahead.pictures[i], plain.pictures[i])) << "picture " << i;
        }
    }
}

// The window shows the picture at half its size or less: frames are decoded that much smaller
// (the first frame of a run, whose size is not known yet, is decoded whole).
TEST(DecodeAheadDisplay, ReducedDecodeFollowsTheShownScale) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(6), 160, 120);
    const struct {
        double scale;
        cv::Size size;
    } cases[] = {{1.0, {160, 120}}, {0.6, {160, 120}}, {0.5, {80, 60}},
                 {0.3, {80, 60}},   {0.25, {40, 30}},  {0.1, {20, 15}}};
    for (const auto& c : cases) {
        const Playback run = PlayScenario(true, c.scale);
        ASSERT_GT(run.pictures.size(), 2u);
        EXPECT_EQ(run.pictures[2].size(), c.size) << c.scale;
    }
}

// The marker of a reduced picture covers the same part of the screen as on the full picture.
TEST(DecodeAheadDisplay, MarkerLooksTheSameOnAReducedPicture) {
    MaxCount = 100;
    frame_no = 37.0;
    cv::Mat full(1080, 1920, CV_8UC3, cv::Scalar(0, 0, 0));
    DrawPositionMarker(full, 1);
    for (int d : {2, 4, 8}) {
        cv::Mat reduced(1080 / d, 1920 / d, CV_8UC3, cv::Scalar(0, 0, 0));
        DrawPositionMarker(reduced, d);
        cv::Mat full_shrunk;
        cv::resize(full, full_shrunk, reduced.size(), 0, 0, cv::INTER_AREA);
        cv::Mat a, b;
        cv::cvtColor(full_shrunk, a, cv::COLOR_BGR2GRAY);
        cv::cvtColor(reduced, b, cv::COLOR_BGR2GRAY);
        const cv::Rect box_a = cv::boundingRect(a > 60);
        const cv::Rect box_b = cv::boundingRect(b > 60);
        EXPECT_LE(std::abs(box_a.x - box_b.x), 1) << d << " " << box_a << " " << box_b;
        EXPECT_LE(std::abs(box_a.width - box_b.width), 1) << d << " " << box_a << " " << box_b;
        EXPECT_LE(std::abs(box_a.y - box_b.y), 1) << d;
        EXPECT_EQ(box_b.y + box_b.height, reduced.rows) << d;
    }
}

// A frame file that cannot be decoded ends the player the same way with the thread: the thread's
// failure leaves the frame to the display step, which reports it.
TEST(DecodeAheadDisplay, UndecodableFrameEndsThePlayerAsBefore) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempTree tree;
    tree.MakeFrames(1, FrameRange(6), 64, 48);
    tree.WriteFile("../S001/clip_00003.jpg", "not a picture");
    for (bool ahead : {false, true}) {
        EXPECT_EXIT(
            {
                SetDecodeAhead(ahead);
                folder_index = 0;
                CheckContents();
                CamOnMemory = 100;
                DifferenceSum = 1000000;
                VR_threshold = 1;
                for (int cycle = 0; cycle < 6; ++cycle) {
                    AdvanceFrame(DifferenceSum, VR_threshold);
                    DisplayStep();
                    DecodeAheadWaitIdle();
                }
                std::exit(0);
            },
            testing::ExitedWithCode(1), "clip_00003\\.jpg")
            << (ahead ? "with" : "without") << " the thread";
    }
}

// A window whose texture takes 32-bit pictures gets them decoded that way, by the display step or
// by one or several threads: the same pictures (alpha 255, the marker opaque), flags and messages
// as the BGR path.
TEST(DecodeAheadDisplay, BgraPicturesAndSeveralThreadsShowTheSameAsBgr) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(10), 96, 64);
    tree.MakeFrames(2, FrameRange(7), 96, 64);
    const struct {
        bool ahead;
        int threads;
    } ways[] = {{false, 1}, {true, 1}, {true, 3}};
    for (double scale : {1.0, 0.5}) {
        const Playback bgr = PlayScenario(false, scale);
        fake::picture_channels = 4;
        for (const auto& way : ways) {
            SetDecodeAheadThreads(way.threads);
            const Playback bgra = PlayScenario(way.ahead, scale);
            const std::string label = "scale " + std::to_string(scale) + " ahead " +
                                      std::to_string(way.ahead) + " threads " +
                                      std::to_string(way.threads);
            EXPECT_EQ(bgra.output, bgr.output) << label;
            ASSERT_EQ(bgra.cycles.size(), bgr.cycles.size());
            for (size_t i = 0; i < bgr.cycles.size(); ++i) {
                EXPECT_EQ(bgra.cycles[i].loaded, bgr.cycles[i].loaded) << label << " cycle " << i;
                EXPECT_EQ(bgra.cycles[i].pending, bgr.cycles[i].pending) << label << " cycle " << i;
            }
            ASSERT_EQ(bgra.pictures.size(), bgr.pictures.size());
            for (size_t i = 0; i < bgr.pictures.size(); ++i) {
                cv::Mat expected;
                cv::cvtColor(bgr.pictures[i], expected, cv::COLOR_BGR2BGRA);
                EXPECT_TRUE(SamePicture(bgra.pictures[i], expected)) << label << " picture " << i;
            }
        }
        SetDecodeAheadThreads(0);
        fake::picture_channels = 3;
    }
}
