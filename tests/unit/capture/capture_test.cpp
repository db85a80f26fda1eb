#include "capture/capture.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "capture/camera_switch.hpp"
#include "common/state.hpp"
#include "fakes/fake_window.hpp"
#include "platform/camera.hpp"
#include "support/banners.hpp"
#include "support/temp_tree.hpp"
#include "unit/capture/camera_clip.hpp"

namespace {

const std::string kCameraOffSequence =
    "\nNOW, TURNING OFF THE CAMERA DEVICE. WAIT A MOMENT...\nDone.\n\n" + kCameraOffBanner + "\n";

// A camera switched on as the camera key does it, reading the given source.
void SwitchCameraOn(const std::string& source) {
    clip::UseSource(source);
    camera_on = 1;
    camera_log_mode = 1;
    OpenCamera();
    ASSERT_TRUE(CameraIsOpen());
}

bool HalfIs(int half, int level) {
    const uint8_t* bytes = grey_pair + half * kGreyFrameBytes;
    for (int i = 0; i < kGreyFrameBytes; ++i) {
        if (bytes[i] != level) return false;
    }
    return true;
}

TEST(CameraCapture, HalvesAlternateAndTheEndOfTheClipTurnsTheCameraOff) {
    TempTree tree;
    fake::ResetWindow();
    SwitchCameraOn(
        clip::WriteSequence(tree.work(), {clip::Flat(0), clip::Flat(255), clip::Flat(90)}));

    testing::internal::CaptureStdout();
    GLT_Capture();
    EXPECT_TRUE(HalfIs(0, 0));
    EXPECT_EQ(grey_pair_index, 1);
    GLT_Capture();
    EXPECT_TRUE(HalfIs(1, 255));
    EXPECT_EQ(grey_pair_index, 0);
    GLT_Capture();
    EXPECT_TRUE(HalfIs(0, 90));
    EXPECT_TRUE(HalfIs(1, 255));
    EXPECT_EQ(grey_pair_index, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    testing::internal::CaptureStdout();
    GLT_Capture();  // past the last frame: like an unplugged camera
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "cvQueryFrame() failed in GLT_Capture().\n" + kCameraOffSequence);
    EXPECT_EQ(camera_on, 0);
    EXPECT_EQ(camera_log_mode, 2);
    EXPECT_FALSE(CameraIsOpen());
    EXPECT_EQ(fake::waits, std::vector<int>{1000});
    EXPECT_EQ(grey_pair_index, 1);
}

struct FlipCase {
    const char* name;
    int flip_v, flip_h;
    bool mirrored_rows, mirrored_columns;
};

class CameraFlip : public testing::TestWithParam<FlipCase> {};

TEST_P(CameraFlip, FlipsTheFrameBeforeTheGreyCopy) {
    const FlipCase& c = GetParam();
    // Every pixel's grey level tells its place.
    cv::Mat picture(240, 320, CV_8UC3);
    auto level = [](int x, int y) { return (x * 7 + y * 13) % 251; };
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const uint8_t v = static_cast<uint8_t>(level(x, y));
            picture.at<cv::Vec3b>(y, x) = cv::Vec3b(v, v, v);
        }
    }
    TempTree tree;
    fake::ResetWindow();
    CamFlipV = c.flip_v;
    CamFlipH = c.flip_h;
    SwitchCameraOn(clip::WriteSequence(tree.work(), {picture}));
    GLT_Capture();
    ASSERT_EQ(grey_pair_index, 1);
    int wrong = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const int from_x = c.mirrored_columns ? 319 - x : x;
            const int from_y = c.mirrored_rows ? 239 - y : y;
            if (grey_pair[y * 320 + x] != level(from_x, from_y)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(grey_frame.size(), cv::Size(320, 240));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CameraFlip,
    testing::Values(FlipCase{"None", 0, 0, false, false}, FlipCase{"Vertical", 1, 0, true, false},
                    FlipCase{"Horizontal", 0, 1, false, true},
                    FlipCase{"Both", 1, 1, true, true},  // turned by 180 degrees
                    FlipCase{"AnyNonZero", -3, 7, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CameraCapture, WrongSizeIsReportedAndTurnsTheCameraOffForGood) {
    TempTree tree;
    fake::ResetWindow();
    SwitchCameraOn(
        clip::WriteSequence(tree.work(), {clip::Flat(10, 640, 480), clip::Flat(20, 640, 480)}));
    std::memset(grey_pair, 7, sizeof grey_pair);

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    GLT_Capture();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: The Size of Supposed Input Image does not Match.nChannels = 3\n"
              "depth     = 8 (bit)\n"
              "width     = 640\n"
              "height    = 480\n"
              "GLT_F_XMAX    = 320\n"
              "GLT_F_YMAX    = 240\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n\n" + kCameraOffSequence);
    EXPECT_EQ(camera_on, 0);
    EXPECT_FALSE(CameraIsOpen());

    testing::internal::CaptureStdout();
    GLT_Capture();
    GLT_Capture();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(fake::waits.size(), 1u);
    EXPECT_EQ(grey_pair_index, 0);
    EXPECT_EQ(grey_pair[0], 7);
}

TEST(CameraCapture, CameraOffLeavesThePairAlone) {
    unsetenv("ZELTRAN_CAMERA_SOURCE");
    std::memset(grey_pair, 9, sizeof grey_pair);
    grey_pair_index = 1;
    camera_on = 0;
    GLT_Capture();
    EXPECT_EQ(grey_pair_index, 1);
    EXPECT_EQ(grey_pair[0], 9);
    EXPECT_EQ(grey_pair[2 * kGreyFrameBytes - 1], 9);
}

TEST(CameraCapture, NegativeDeviceIndexIsNotOpened) {
    unsetenv("ZELTRAN_CAMERA_SOURCE");
    CamChan = -1;
    OpenCamera();
    EXPECT_FALSE(CameraIsOpen());
}

TEST(CameraBanners, PrintedWithAndWithoutTheLeadingBreak) {
    testing::internal::CaptureStdout();
    PrintCameraOnBanner(1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kCameraOnBanner + "\n");
    testing::internal::CaptureStdout();
    PrintCameraOnBanner(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kCameraOnBanner.substr(1) + "\n");
    testing::internal::CaptureStdout();
    PrintCameraOffBanner(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kCameraOffBanner.substr(1) + "\n");
}

TEST(ShutDown, ReleasesTheCameraAndSaysGoodbye) {
    TempTree tree;
    fake::ResetWindow();
    SwitchCameraOn(clip::WriteSequence(tree.work(), {clip::Flat(0)}));
    testing::internal::CaptureStdout();
    ShutDown();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kFarewellBanner);
    EXPECT_FALSE(CameraIsOpen());
    EXPECT_EQ(fake::waits, std::vector<int>{500});
}

}  // namespace
