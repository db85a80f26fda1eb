#include "motion/motion.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "block/shared_block.hpp"
#include "capture/camera_switch.hpp"
#include "capture/capture.hpp"
#include "common/state.hpp"
#include "support/temp_tree.hpp"
#include "unit/capture/camera_clip.hpp"
#include "unit/shell/test_block.hpp"

namespace {

uint8_t* Half(int half) {
    return grey_pair + half * kGreyFrameBytes;
}

// The measure as the cycle calls it.
void Measure() {
    MeasureDifference(grey_pair, camera_on != 0, VR_threshold);
}

void BlackAndWhite() {
    std::memset(Half(0), 0, kGreyFrameBytes);
    std::memset(Half(1), 255, kGreyFrameBytes);
}

struct StepCase {
    const char* name;
    int32_t step;
    int32_t sum;
};

class MotionSampling : public testing::TestWithParam<StepCase> {};

TEST_P(MotionSampling, SumsTheSampledDifference) {
    camera_on = 1;
    sample_step = GetParam().step;
    BlackAndWhite();
    Measure();
    EXPECT_EQ(DifferenceSum, GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(Steps, MotionSampling,
                         testing::Values(StepCase{"Four", 4, 4800 * 255},
                                         StepCase{"One", 1, 76800 * 255},
                                         StepCase{"Three", 3, 80 * 107 * 255},
                                         StepCase{"Zero", 0, 76800 * 255},  // taken as 1
                                         StepCase{"Negative", -2, 76800 * 255},
                                         StepCase{"Huge", 2147483647, 255}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MotionSampling, VisitsExactlyTheSampledPlaces) {
    camera_on = 1;
    sample_step = 3;
    std::memset(grey_pair, 0, sizeof grey_pair);
    Half(1)[237 * 320 + 318] = 10;   // last sampled row and column
    Half(0)[239 * 320 + 319] = 200;  // not sampled
    Half(0)[3 * 320 + 4] = 100;      // column 4 is not sampled
    Half(0)[6 * 320 + 3] = 40;       // sampled, newer half may be either one
    Measure();
    EXPECT_EQ(DifferenceSum, 50);
}

TEST(MotionSampling, IdenticalFramesGiveNothing) {
    camera_on = 1;
    std::memset(grey_pair, 123, sizeof grey_pair);
    Measure();
    EXPECT_EQ(DifferenceSum, 0);
}

struct SlotCase {
    const char* name;
    int32_t chan;
    int written_word;  // 0: no slot written
    int32_t total;
};

class MotionSlot : public testing::TestWithParam<SlotCase> {};

TEST_P(MotionSlot, PublishesInTheSlotOfCamChanAndRebuildsTheTotal) {
    TestBlockName block;
    OpenSharedBlock();
    SI[2] = 1000;  // another copy's slot
    SI[32] = 20;
    SI[40] = 5;  // outside the slots: neither counted nor changed
    WriteSharedBlock();
    camera_on = 1;
    CamChan = GetParam().chan;
    BlackAndWhite();
    Measure();
    std::memset(SI, 0, sizeof SI);
    ReadSharedBlock();
    const int written = GetParam().written_word;
    if (written != 0) {
        EXPECT_EQ(SI[written], 1224000);
    }
    EXPECT_EQ(SI[0], GetParam().total);
    EXPECT_EQ(SI[40], 5);
}

INSTANTIATE_TEST_SUITE_P(Chans, MotionSlot,
                         testing::Values(SlotCase{"First", 0, 1, 1224000 + 1000 + 20},
                                         // the slot another copy of CamChan 1 wrote: counted once
                                         SlotCase{"Shared", 1, 2, 1224000 + 20},
                                         SlotCase{"Last", 31, 32, 1000 + 1224000},
                                         SlotCase{"Beyond", 32, 0, 1020},
                                         SlotCase{"Negative", -1, 0, 1020}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MotionSlot, TheTotalWrapsLikeA32BitSum) {
    TestBlockName block;
    OpenSharedBlock();
    SI[1] = 2147483647;
    SI[2] = 2;
    WriteSharedBlock();
    camera_on = 1;
    CamChan = 40;
    std::memset(grey_pair, 0, sizeof grey_pair);
    Measure();
    EXPECT_EQ(SI[0], -2147483647);
}

// Two copies of the program on one block: each publishes its own slot.
TEST(MotionSlot, TwoCopiesPoolTheirMotion) {
    TestBlockName block;
    OpenSharedBlock();
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        camera_on = 1;
        CamChan = 4;
        std::memset(Half(0), 0, kGreyFrameBytes);
        std::memset(Half(1), 10, kGreyFrameBytes);
        Measure();
        _exit(DifferenceSum == 48000 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    camera_on = 1;
    CamChan = 7;
    BlackAndWhite();
    Measure();
    EXPECT_EQ(SI[5], 48000);
    EXPECT_EQ(SI[8], 1224000);
    EXPECT_EQ(SI[0], 1224000 + 48000);

    // A camera-less copy follows the total.
    camera_on = 0;
    VR_threshold = GLT_threshold = 11500;
    Measure();
    EXPECT_EQ(DifferenceSum, 1224000 + 48000);
}

TEST(MotionCameraOff, FollowsTheTotalOnlyOnceTheThresholdIsTakenOver) {
    TestBlockName block;
    OpenSharedBlock();
    SI[0] = 777;
    SI[3] = 777;
    WriteSharedBlock();
    camera_on = 0;
    GLT_threshold = 11500;
    VR_threshold = 0;  // the first cycle, before the threshold file was read
    std::memset(grey_pair, 5, sizeof grey_pair);
    Measure();
    EXPECT_EQ(DifferenceSum, 0);
    for (int i = 0; i < 2 * kGreyFrameBytes; ++i) ASSERT_EQ(grey_pair[i], 0) << i;

    VR_threshold = 11500;
    Measure();
    EXPECT_EQ(DifferenceSum, 777);
    Measure();
    EXPECT_EQ(DifferenceSum, 777);
}

// The whole path from a real clip: black and white pictures alternate.
TEST(MotionFromCamera, AlternatingBlackAndWhiteClipIsFullMotion) {
    TempTree tree;
    TestBlockName block;
    OpenSharedBlock();
    clip::UseSource(clip::WriteVideo(tree.work() + "/cam.avi",
                                     {clip::Flat(0), clip::Flat(255), clip::Flat(0)}));
    camera_on = 1;
    CamChan = 0;
    OpenCamera();
    GLT_Capture();
    GLT_Capture();
    Measure();
    EXPECT_NEAR(DifferenceSum, 1224000, 4800 * 4);  // Motion-JPEG may move a level slightly
    GLT_Capture();
    Measure();
    EXPECT_NEAR(DifferenceSum, 1224000, 4800 * 4);
    EXPECT_EQ(SI[1], DifferenceSum);
    EXPECT_EQ(SI[0], DifferenceSum);
}

}  // namespace
