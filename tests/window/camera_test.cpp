// The camera in an unattended room, met by the whole player: a stand-in clip that ends is tried
// again when retrying is on, q takes over from the retrying, device paths that are no camera do
// not open; and automatic replay keeps 30 frames a second while it sleeps between frames.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/banners.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

namespace {

constexpr int kCameraWord = 1;  // the shared-block slot of CamChan 0
const std::string kCameraOn = "Done.\n" + kCameraOnBanner + "\n";
const std::string kCameraOff = "Done.\n\n" + kCameraOffBanner + "\n";

bool MotionMeasured(const std::string& block) {
    for (int tries = 0; tries < 60; ++tries) {
        if (Player::ReadSharedWord(block, kCameraWord) > 1000000) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void Quit(Player& player) {
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(CameraRetry, ACameraThatEndedComesBackAndQStopsTheRetrying) {
    Player player;
    player.Environment("ZELTRAN_CAMERA_RETRY", "1");
    // A third of a second at 30 a second, black and white by turns: every cycle full motion.
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < 10; ++i) pictures.push_back(clip::Flat(i % 2 ? 255 : 0));
    player.CameraSource(clip::WriteVideo(player.root() + "/camera.avi", pictures));
    StartOnFrames(player, 40);
    const std::string& block = player.SharedBlockName();
    player.Key("q");
    ASSERT_TRUE(player.WaitForOutput(kCameraOff)) << player.Output();
    ASSERT_TRUE(player.WaitForOutput("Camera retry: every 1 s until the camera is back"));
    Player::WriteSharedWord(block, kCameraWord, 0);
    // Back one interval after the off sequence, with its banner, and measuring again.
    const auto off = std::chrono::steady_clock::now();
    ASSERT_TRUE(player.WaitForOutput(kCameraOnBanner, 5.0, 2)) << player.Output();
    EXPECT_LT(std::chrono::steady_clock::now() - off, std::chrono::milliseconds(2500));
    EXPECT_TRUE(MotionMeasured(block));

    // The clip ends again; q while retrying stops the attempts and the camera stays off.
    ASSERT_TRUE(player.WaitForOutput(kCameraOff, 5.0, 2)) << player.Output();
    player.Key("q");
    ASSERT_TRUE(player.WaitForOutput("Camera retry: stopped; [q] turns the camera on.\n"))
        << player.Output();
    EXPECT_FALSE(player.WaitForOutput(kCameraOnBanner, 2.5, 3)) << "no attempt after q";
    // q again turns it on as ever.
    player.Key("q");
    EXPECT_TRUE(player.WaitForOutput(kCameraOn, 5.0, 2)) << player.Output();
    Quit(player);
}

TEST(CameraDevicePath, PathsThatAreNoCameraDoNotOpenAndThePlayerRunsOn) {
    for (const char* path : {"/dev/v4l/by-id/no-such-camera", "/dev/null"}) {
        SCOPED_TRACE(path);
        Player player;
        player.Environment("ZELTRAN_CAMERA_DEVICE", path);
        StartOnFrames(player, 101);
        player.Key("q");
        EXPECT_TRUE(player.WaitForOutput("cvQueryFrame() failed in GLT_Capture().\n"))
            << player.Output();
        ASSERT_TRUE(player.WaitForOutput(kCameraOff));
        player.Key("percent");
        EXPECT_TRUE(ShowsFrame(player, 50));
        Quit(player);
    }
}

// Pictures a second of automatic replay from the stats file's "shown COUNT UNIX_NS" lines.
double ShownRate(const std::string& stats) {
    std::ifstream lines(stats);
    std::string word, ahead;
    double count = 0, ns = 0, first_count = -1, first_ns = 0;
    while (lines >> word >> count >> ns >> ahead) {
        if (first_count < 0) first_count = count, first_ns = ns;
    }
    return ns > first_ns ? (count - first_count) / ((ns - first_ns) / 1e9) : 0.0;
}

TEST(AutomaticReplay, ShowsThirtyFramesASecond) {
    Player player;
    const std::string stats = player.root() + "/stats.txt";
    player.Environment("ZELTRAN_STATS_FILE", stats);
    StartOnFrames(player, 300);
    player.Key("Tab");
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    EXPECT_NEAR(ShownRate(stats), 30.0, 6.0);
    Quit(player);
}

}  // namespace
