#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/state.hpp"
#include "fakes/fake_window.hpp"
#include "motion/motion.hpp"
#include "support/temp_tree.hpp"

namespace {

constexpr int32_t kThreshold = 11500;
constexpr int32_t kMoving = kThreshold + 1;
constexpr int32_t kStill = kThreshold;  // the threshold itself is still

int32_t threshold = kThreshold;

void Folder(int frames) {
    MaxCount = frames;
    frame_no = 0.0;
    direction = 1;
    prev_direction = 1;
    motion_count = 0;
    wrap_flag = 0;
    threshold = kThreshold;
    VR_step = 1.0;
}

void CameraLimits(bool on) {
    toggle_limit = on ? 3 : 5;
    reset_limit = on ? 1 : 2;
}

void Cycle(int32_t difference) {
    AdvanceFrame(difference, threshold);
}

struct EndCase {
    const char* name;
    double start;
    int32_t dir;
    double step;
    int32_t wrap;
    double result;
};

class FrameAdvanceEnds : public testing::TestWithParam<EndCase> {};

TEST_P(FrameAdvanceEnds, StopOrWrapAtTheEnds) {
    const EndCase& c = GetParam();
    Folder(100);
    frame_no = c.start;
    direction = prev_direction = c.dir;
    VR_step = c.step;
    wrap_flag = c.wrap;
    Cycle(kMoving);
    EXPECT_DOUBLE_EQ(frame_no, c.result);
    EXPECT_EQ(motion_count, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameAdvanceEnds,
                         testing::Values(EndCase{"ForwardStops", 99.5, 1, 1.0, 0,
                                                 99.0},  // 100.5 truncates to 100
                                         EndCase{"ForwardWraps", 99.5, 1, 1.0, 1, 0.0},
                                         EndCase{"ForwardInside", 98.5, 1, 1.0, 0, 99.5},
                                         EndCase{"BackwardStops", 0.05, 0, 0.1, 0, 0.0},
                                         EndCase{"BackwardWraps", 0.05, 0, 0.1, 1, 99.0},
                                         EndCase{"BackwardInside", 6.0, 0, 6.0, 1, 0.0},
                                         EndCase{"OtherDirectionStays", 50.0, 7, 1.0, 0, 50.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameAdvance, NoMotionChangesNothing) {
    for (int32_t difference : {0, -5}) {
        Folder(100);
        CameraLimits(true);
        frame_no = 10.0;
        motion_count = 7;
        direction = prev_direction = 0;
        threshold = -100;  // even below a negative threshold nothing counts
        Cycle(difference);
        EXPECT_EQ(frame_no, 10.0);
        EXPECT_EQ(motion_count, 7);
        EXPECT_EQ(direction, 0);
    }
}

TEST(FrameAdvance, CameraOnBurstThenStillnessReverses) {
    Folder(100);
    CameraLimits(true);
    fake::ResetWindow();
    for (int i = 0; i < 5; ++i) Cycle(kMoving);
    EXPECT_EQ(frame_no, 5.0);
    EXPECT_EQ(motion_count, 5);
    Cycle(kStill);
    EXPECT_EQ(direction, 0);
    EXPECT_EQ(motion_count, 0);
    EXPECT_EQ(prev_direction, 0);
    EXPECT_EQ(fake::waits, (std::vector<int>{1, 1}));  // the window is served on the change
    Cycle(kStill);
    EXPECT_EQ(direction, 0);
    EXPECT_EQ(fake::waits.size(), 2u);
    Cycle(kMoving);
    EXPECT_EQ(frame_no, 4.0);
}

struct BurstCase {
    const char* name;
    bool camera;
    int moving;
    int32_t direction_after;
    int32_t count_after;
};

class FrameAdvanceBurst : public testing::TestWithParam<BurstCase> {};

TEST_P(FrameAdvanceBurst, StillCycleAfterABurst) {
    const BurstCase& c = GetParam();
    Folder(100);
    CameraLimits(c.camera);
    for (int i = 0; i < c.moving; ++i) Cycle(kMoving);
    Cycle(kStill);
    EXPECT_EQ(direction, c.direction_after);
    EXPECT_EQ(motion_count, c.count_after);
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameAdvanceBurst,
                         testing::Values(BurstCase{"OnFour", true, 4, 0, 0},
                                         BurstCase{"OnThree", true, 3, 1, 0},
                                         BurstCase{"OnOneIsRemembered", true, 1, 1, 1},
                                         BurstCase{"OffSix", false, 6, 0, 0},
                                         BurstCase{"OffFive", false, 5, 1, 0},
                                         BurstCase{"OffTwoIsRemembered", false, 2, 1, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameAdvance, SingleMovesAddUpAcrossStillCycles) {
    Folder(100);
    CameraLimits(true);
    Cycle(kMoving);
    Cycle(kStill);
    Cycle(kStill);
    EXPECT_EQ(motion_count, 1);
    for (int i = 0; i < 3; ++i) Cycle(kMoving);
    Cycle(kStill);  // 1 + 3 moving cycles: above the toggle limit
    EXPECT_EQ(direction, 0);
    EXPECT_EQ(motion_count, 0);
}

TEST(FrameAdvance, FirstCallCountsAsAChange) {
    Folder(100);
    prev_direction = -1;
    fake::ResetWindow();
    Cycle(0);
    EXPECT_EQ(prev_direction, 1);
    EXPECT_EQ(fake::waits, (std::vector<int>{1, 1}));
}

TEST(FrameAdvance, TwoPictureFolderDecodesThePictureOfTheNewDirection) {
    TempTree tree;
    tree.MakeFrames(1, {0, 1});
    Folder(2);
    std::memset(FrameData, 0, 2 * sizeof(FrameRecord));
    std::strcpy(FrameData[0].file, "../S001/clip_00000.jpg");
    std::strcpy(FrameData[1].file, "../S001/clip_00001.jpg");
    prev_direction = 1;
    direction = 0;
    fake::ResetWindow();
    Cycle(0);
    EXPECT_EQ(FrameData[0].loaded, 1);
    EXPECT_FALSE(frame_cache[0].empty());
    EXPECT_EQ(FrameData[1].loaded, 0);
    EXPECT_EQ(fake::waits.size(), 2u);

    // A picture that cannot be decoded stays unloaded and the call ends without the waits; the
    // next change tries again.
    std::strcpy(FrameData[1].file, "../S001/missing.jpg");
    direction = 1;
    Cycle(0);
    EXPECT_EQ(FrameData[1].loaded, 0);
    EXPECT_EQ(prev_direction, 1);
    EXPECT_EQ(fake::waits.size(), 2u);
}

struct StepCase {
    const char* name;
    int32_t frames;
    double start;
    bool forward;
    int32_t wrap;
    double result;
    int32_t prev_after;  // prev_direction starts at 9
};

class FrameStep : public testing::TestWithParam<StepCase> {};

TEST_P(FrameStep, MovesAndSetsTheDirection) {
    const StepCase& c = GetParam();
    Folder(c.frames);
    frame_no = c.start;
    wrap_flag = c.wrap;
    direction = 5;
    prev_direction = 9;
    if (c.forward) {
        StepForward(1.0);
    } else {
        StepBackward(1.0);
    }
    EXPECT_DOUBLE_EQ(frame_no, c.result);
    EXPECT_EQ(direction, c.forward ? 1 : 0);
    EXPECT_EQ(prev_direction, c.prev_after);
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameStep,
                         testing::Values(StepCase{"Forward", 10, 3.0, true, 0, 4.0, 1},
                                         StepCase{"ForwardStops", 10, 9.0, true, 0, 9.0, 1},
                                         StepCase{"ForwardWraps", 10, 9.0, true, 1, 0.0, 9},
                                         StepCase{"Backward", 10, 3.5, false, 1, 2.5, 9},
                                         StepCase{"BackwardStops", 10, 0.5, false, 0, 0.0, 0},
                                         StepCase{"BackwardWraps", 10, 0.5, false, 1, 9.0, 9},
                                         // An empty folder never leaves position 0.0.
                                         StepCase{"EmptyForward", 0, 0.0, true, 0, 0.0, 1},
                                         StepCase{"EmptyForwardWrap", 0, 0.0, true, 1, 0.0, 9},
                                         StepCase{"EmptyBackwardWrap", 0, 0.0, false, 1, 0.0, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
