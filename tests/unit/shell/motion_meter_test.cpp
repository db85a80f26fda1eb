// What the motion meter hands to the panel over the picture: the history of the total, the
// camera picture with its changes tinted, the scale and the status line.
#include "shell/motion_meter.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/state.hpp"
#include "fakes/fake_clock.hpp"
#include "fakes/fake_window.hpp"
#include "platform/overlay.hpp"

namespace {

constexpr uint64_t kSlot = kMeterSlotMs * 1000;  // microseconds
constexpr int kNewest = kMeterSlots - 1;

// One cycle of the meter at time now (microseconds) with this total in the shared block.
const MeterPanel& CycleAt(uint64_t now, int32_t total) {
    fake::now_micros = now;
    fake::step_micros = 0;
    SI[kDiffSumWord] = total;
    UpdateMotionMeter();
    return *fake::meter;
}

TEST(MotionMeter, HistoryKeepsTheHighestTotalOfEachSlotAndLeavesGapsEmpty) {
    fake::now_micros = 100 * kSlot;
    fake::step_micros = 0;
    ToggleMotionMeter();
    ASSERT_NE(fake::meter, nullptr);
    CycleAt(100 * kSlot + 10, 500);
    CycleAt(100 * kSlot + 20, 900);
    CycleAt(100 * kSlot + 30, 700);
    CycleAt(101 * kSlot, -5);  // a total wrapped by other copies counts as 0
    const MeterPanel& panel = CycleAt(104 * kSlot, 42);
    EXPECT_EQ(panel.history[kNewest], 42);
    EXPECT_EQ(panel.history[kNewest - 1], -1);  // slots 103 and 102 saw no cycle
    EXPECT_EQ(panel.history[kNewest - 2], -1);
    EXPECT_EQ(panel.history[kNewest - 3], 0);
    EXPECT_EQ(panel.history[kNewest - 4], 900);
    EXPECT_EQ(panel.history[kNewest - 5], -1);  // before the meter went on
    // Ten seconds on, everything before has left the graph.
    const MeterPanel& later = CycleAt((104 + kMeterSlots) * kSlot, 7);
    for (int i = 0; i < kNewest; ++i) EXPECT_EQ(later.history[i], -1) << i;
    EXPECT_EQ(later.history[kNewest], 7);
    ToggleMotionMeter();
    EXPECT_EQ(fake::meter, nullptr);
}

TEST(MotionMeter, CameraPictureTintsWhatChangedAndScaleAndStatusFollowTheState) {
    camera_on = 1;
    std::memset(grey_pair, 100, sizeof grey_pair);
    grey_pair_index = 1;  // the newest picture is half 0: its left quarter grew brighter
    for (int y = 0; y < GLT_F_YMAX; ++y) std::memset(grey_pair + y * GLT_F_XMAX, 200, 80);
    folder_index = 1;
    frame_no = 12.7;
    MaxCount = 120;
    speed_factor = 0.5;
    direction = 0;
    f_rate = 29.96;
    VR_threshold = 11500;
    ToggleMotionMeter();
    const MeterPanel& panel = *fake::meter;
    ASSERT_EQ(panel.camera.size(), cv::Size(kMeterCameraWidth, kMeterCameraHeight));
    EXPECT_EQ(panel.camera.at<cv::Vec3b>(60, 100), cv::Vec3b(100, 100, 100));
    EXPECT_EQ(panel.camera.at<cv::Vec3b>(60, 10), cv::Vec3b(0, 0, 255));
    EXPECT_EQ(panel.full_scale, 80 * 60 * 255);
    EXPECT_EQ(panel.threshold, 11500);
    EXPECT_STREQ(
        panel.text,
        "S002  frame 12 / 119  speed x0.5  backward  30.0 fps  camera on  threshold 11500");
    sample_step = 0;  // taken as 1, as the measurement takes it
    CycleAt(fake::now_micros, 0);
    EXPECT_EQ(panel.full_scale, 320 * 240 * 255);
    camera_on = 0;
    CycleAt(fake::now_micros + kSlot, 0);
    EXPECT_TRUE(panel.camera.empty());
    EXPECT_NE(std::string(panel.text).find("camera off"), std::string::npos);
}

}  // namespace
