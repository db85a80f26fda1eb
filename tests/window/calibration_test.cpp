// Calibration in the real player: F4 with the camera on measures the room through SetMotion.txt
// and writes the threshold file; here a lamp switching every third of a second is all the room
// does, and with `light 1` it measures nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/banners.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

TEST(CalibrationKey, ALampIsNotMotionWithLightAndF4WritesTheLowestThreshold) {
    Player player;
    player.WriteFile("SetMotion.txt", "light 1\n");
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < 60; ++i) pictures.push_back(clip::Flat(i % 20 < 10 ? 100 : 140));
    player.CameraSource(clip::WriteVideo(player.root() + "/lamp.avi", pictures));
    player.Environment("ZELTRAN_CAMERA_LOOP", "1");
    StartOnFrames(player, 10);
    EXPECT_NE(player.Output().find(
                  "\nSET: light = 1 ( 1-> a change of the whole picture is not motion )\n"),
              std::string::npos);
    player.Key("F4");
    ASSERT_TRUE(player.WaitForOutput(
        "CALIBRATION: the camera is off; switch it on with q, then press F4\n"));
    player.Key("q");
    ASSERT_TRUE(player.WaitForOutput("Done.\n" + kCameraOnBanner + "\n"));
    player.Key("F4");
    ASSERT_TRUE(player.WaitForOutput(
        "CALIBRATION: leave the camera's view empty for 10 s (F4 again cancels)\n"));
    ASSERT_TRUE(
        player.WaitForOutput("SET: threshold = 500 (empty room: highest 0 over 10 s)\n", 30.0));
    std::ifstream file(player.work() + "/GLT_THRESHOLD.dat");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "500");
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}
