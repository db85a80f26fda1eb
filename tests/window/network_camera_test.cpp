// A network camera met by the whole player: named in SetCameraDevice.txt and printed back with
// its password hidden, measured like a device, switched off with the reason when its server
// stops, and brought back by the camera retry when the server returns.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "support/banners.hpp"
#include "support/camera_server.hpp"
#include "window/harness.hpp"

namespace {

constexpr int kCameraWord = 1;  // the shared-block slot of CamChan 0
constexpr int32_t kMoving = 20000;
const std::string kCameraOff = "Done.\n\n" + kCameraOffBanner + "\n";

bool MotionMeasured(const std::string& block, double timeout_s) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
    while (std::chrono::steady_clock::now() < end) {
        if (Player::ReadSharedWord(block, kCameraWord) > kMoving) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(NetworkCamera, ComesBackWhenItsServerReturnsAndNeverShowsItsPassword) {
    Player player;
    std::filesystem::create_directories(player.work() + "/camera");
    CameraServer server("http", player.work() + "/camera", MovingPictures(12));
    ASSERT_TRUE(server.Start());
    const std::string shown = server.Url("***");
    player.WriteFile("SetCameraDevice.txt", "device " + server.Url("viewer:s3cret") + "\n");
    player.Environment("ZELTRAN_CAMERA_RETRY", "1");
    StartOnFrames(player, 40);
    EXPECT_NE(player.Output().find("SET: device = " + shown), std::string::npos) << player.Output();
    const std::string& block = player.SharedBlockName();
    player.Key("q");
    ASSERT_TRUE(MotionMeasured(block, 5.0)) << player.Output();

    // The server stops: the off sequence with the reason, within the 1 s wait and the 1 s
    // settling of the off sequence.
    server.Stop();
    ASSERT_TRUE(player.WaitForOutput(
        "cvQueryFrame() failed in GLT_Capture().\nCamera " + shown + ": ", 5.0))
        << player.Output();
    ASSERT_TRUE(player.WaitForOutput(kCameraOff, 5.0)) << player.Output();
    Player::WriteSharedWord(block, kCameraWord, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // an attempt or two fail

    // Back within 10 s of the server's return, and measuring again.
    ASSERT_TRUE(server.Start());
    const auto back = std::chrono::steady_clock::now();
    EXPECT_TRUE(player.WaitForOutput(kCameraOnBanner, 10.0, 2)) << player.Output();
    EXPECT_TRUE(MotionMeasured(block, 10.0));
    std::printf("motion again %.2f s after the server's return\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - back).count());
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
    EXPECT_EQ(player.Output().find("s3cret"), std::string::npos);
    EXPECT_EQ(player.Errors().find("s3cret"), std::string::npos) << player.Errors();
}

}  // namespace
