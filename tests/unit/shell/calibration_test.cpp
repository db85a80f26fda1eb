#include "shell/calibration.hpp"

#include <gtest/gtest.h>

#include "common/state.hpp"
#include "fakes/fake_clock.hpp"
#include "fakes/fake_window.hpp"
#include "support/temp_tree.hpp"

namespace {

// One cycle at time seconds with the motion value value; what it printed.
std::string Cycle(double seconds, int32_t value) {
    fake::now_micros = static_cast<uint64_t>(seconds * 1e6);
    testing::internal::CaptureStdout();
    UpdateCalibration(value);
    return testing::internal::GetCapturedStdout();
}

std::string Press() {
    testing::internal::CaptureStdout();
    ToggleCalibration();
    return testing::internal::GetCapturedStdout();
}

TEST(Calibration, TenSecondsOfEmptyRoomWriteOneAndAHalfTimesTheHighest) {
    TempTree tree;
    camera_on = 1;
    fake::step_micros = 0;
    fake::now_micros = 5000000;
    EXPECT_EQ(Press(), "CALIBRATION: leave the camera's view empty for 10 s (F4 again cancels)\n");
    EXPECT_EQ(fake::notice, "Leave the room empty: 10 s  (F4 cancels)");
    EXPECT_EQ(Cycle(5.5, 1200), "");
    EXPECT_EQ(fake::notice, "Leave the room empty: 10 s  (F4 cancels)");
    EXPECT_EQ(Cycle(11.2, 2001), "");
    EXPECT_EQ(fake::notice, "Leave the room empty: 4 s  (F4 cancels)");
    EXPECT_EQ(Cycle(15.0, 90), "SET: threshold = 3002 (empty room: highest 2001 over 10 s)\n");
    EXPECT_EQ(fake::notice, "");
    EXPECT_EQ(GLT_threshold, 3002);
    EXPECT_EQ(tree.ReadFile("GLT_THRESHOLD.dat"), "3002");
    EXPECT_EQ(Cycle(16.0, 99999), "");  // over: later cycles are not taken
}

TEST(Calibration, F4AgainCancelsAndTheThresholdStays) {
    TempTree tree;
    camera_on = 1;
    GLT_threshold = 11500;
    Press();
    EXPECT_EQ(Press(), "CALIBRATION: cancelled; the threshold stays 11500\n");
    EXPECT_EQ(fake::notice, "");
    EXPECT_FALSE(tree.Exists("GLT_THRESHOLD.dat"));
}

TEST(Calibration, WithoutACameraOneLineSaysSo) {
    TempTree tree;
    camera_on = 0;
    EXPECT_EQ(Press(), "CALIBRATION: the camera is off; switch it on with q, then press F4\n");
    EXPECT_EQ(Cycle(20.0, 5), "");
    camera_on = 1;
    fake::now_micros = 0;
    Press();
    camera_on = 0;
    EXPECT_EQ(Cycle(1.0, 5),
              "CALIBRATION: stopped, the camera went off; the threshold stays 11500\n");
}

}  // namespace
