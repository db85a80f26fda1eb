// Retrying a camera that stopped, on the scripted clock: the setting, the attempts, their report
// once a minute, and the camera back with its banner.
#include "capture/camera_retry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "capture/capture.hpp"
#include "common/state.hpp"
#include "fakes/fake_clock.hpp"
#include "fakes/fake_window.hpp"
#include "platform/camera.hpp"
#include "support/banners.hpp"
#include "support/temp_tree.hpp"
#include "unit/capture/camera_clip.hpp"

namespace {

constexpr uint64_t kSecond = 1000000;

TEST(CameraRetrySetting, OnlyWholeSecondsFrom1To3600TurnItOn) {
    struct Case {
        const char* value;
        bool on;
    };
    // Unset: a camera that stopped stays off, as ever.
    for (const Case& c : {Case{"", false}, Case{"1", true}, Case{"3600", true}, Case{"0", false},
                          Case{"3601", false}, Case{"-5", false}, Case{"5s", false},
                          Case{"2.5", false}, Case{"99999999999999999999", false}}) {
        SCOPED_TRACE(c.value);
        setenv("ZELTRAN_CAMERA_RETRY", c.value, 1);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ReadCameraRetrySetting();
        ArmCameraRetry();
        testing::internal::GetCapturedStdout();
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(CameraRetrying(), c.on);
        const size_t lines = std::count(errors.begin(), errors.end(), '\n');
        EXPECT_EQ(lines, c.on || !*c.value ? 0u : 1u) << errors;
    }
    unsetenv("ZELTRAN_CAMERA_RETRY");
}

TEST(CameraRetryAttempts, ReportedOnceAMinuteUntilTheCameraIsBack) {
    TempTree tree;
    fake::ResetWindow();
    fake::step_micros = 0;
    unsetenv("ZELTRAN_CAMERA_SOURCE");
    setenv("ZELTRAN_CAMERA_DEVICE", (tree.work() + "/unplugged").c_str(), 1);
    setenv("ZELTRAN_CAMERA_RETRY", "5", 1);
    ReadCameraRetrySetting();
    camera_on = 0;
    testing::internal::CaptureStdout();
    ArmCameraRetry();
    for (int second = 1; second <= 70; ++second) {
        fake::now_micros += kSecond;
        RetryCameraWhenDue();
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Camera retry: every 5 s until the camera is back ([q] stops it)\n"
              "Camera retry: not back yet (attempt 1)\n"
              "Camera retry: not back yet (attempt 13)\n");
    EXPECT_EQ(camera_on, 0);

    // The camera is plugged in again (a clip stands in for it).
    clip::UseSource(clip::WriteSequence(tree.work(), {clip::Flat(40), clip::Flat(50)}));
    testing::internal::CaptureStdout();
    fake::now_micros += 5 * kSecond;
    RetryCameraWhenDue();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kCameraOnBanner + "\n");
    EXPECT_EQ(camera_on, 1);
    EXPECT_TRUE(CameraIsOpen());
    EXPECT_FALSE(CameraRetrying());
    EXPECT_EQ(grey_pair_index, 0);
    CameraRelease();
    unsetenv("ZELTRAN_CAMERA_DEVICE");
    unsetenv("ZELTRAN_CAMERA_RETRY");
    fake::step_micros = 1000;
}

}  // namespace
