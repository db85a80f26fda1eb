// Motion-driven playback in the real player: the total of the shared block moves a copy whose
// camera is off, a burst followed by stillness turns it back, and a copy with a camera stand-in
// publishes its motion for another copy to play from.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/banners.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

namespace {

constexpr int kTotalWord = 0;         // SI.DiffSum
constexpr int kFirstCameraWord = 1;   // the slot of CamChan 0
constexpr int32_t kMoving = 1000000;  // far above the threshold of 11500
constexpr int32_t kStill = 100;       // above 0, below the threshold

bool WaitForWord(const std::string& block, int word, bool (*check)(int32_t)) {
    for (int tries = 0; tries < 200; ++tries) {
        if (check(Player::ReadSharedWord(block, word))) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace

TEST(MotionPlayback, TheBlockTotalMovesACopyWithoutCameraAndABurstTurnsItBack) {
    Player player;
    StartOnFrames(player, 30);
    const std::string& block = player.SharedBlockName();
    // A long burst: forward to the last frame, where the position stops (no wrap).
    Player::WriteSharedWord(block, kTotalWord, kMoving);
    EXPECT_TRUE(ShowsFrame(player, 29));
    // Stillness after the burst reverses the direction; the next motion runs backward.
    Player::WriteSharedWord(block, kTotalWord, kStill);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(ShowsFrame(player, 29));
    Player::WriteSharedWord(block, kTotalWord, kMoving);
    EXPECT_TRUE(ShowsFrame(player, 0));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(MotionPlayback, ACameraCopyPublishesItsMotionForACopyWithoutCamera) {
    Player with_camera;
    with_camera.WriteFile("SetCamera3.txt", "0 0 0 1 0\n");  // CamChan 0: shared-block word 1
    // Black and white by turns: every cycle measures 1,224,000, for several seconds of cycles.
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < 6000; ++i) pictures.push_back(clip::Flat(i % 2 ? 255 : 0));
    with_camera.CameraSource(clip::WriteVideo(with_camera.root() + "/camera.avi", pictures));
    StartOnFrames(with_camera, 20);

    Player without_camera;
    without_camera.Environment("ZELTRAN_SHM_NAME", with_camera.SharedBlockName());
    StartOnFrames(without_camera, 12);

    with_camera.Key("q");
    // The settings file's legend and values come between these lines.
    ASSERT_TRUE(
        with_camera.WaitForOutput("\nNOW, TURNING ON THE CAMERA DEVICE. WAIT A MOMENT...\n"));
    ASSERT_TRUE(with_camera.WaitForOutput("Done.\n" + kCameraOnBanner + "\n"))
        << with_camera.Output();
    const std::string& block = with_camera.SharedBlockName();
    EXPECT_TRUE(WaitForWord(block, kFirstCameraWord, [](int32_t v) { return v > 1000000; }));
    // The camera moves its own picture, and the total moves the other copy's.
    EXPECT_TRUE(ShowsFrame(with_camera, 19));
    EXPECT_TRUE(ShowsFrame(without_camera, 11));

    with_camera.Key("q");
    EXPECT_TRUE(
        with_camera.WaitForOutput("\nNOW, TURNING OFF THE CAMERA DEVICE. WAIT A MOMENT...\n"
                                  "Done.\n" +
                                  kCameraOffBanner + "\n"));
    with_camera.Signal(SIGTERM);
    without_camera.Signal(SIGTERM);
    EXPECT_EQ(with_camera.WaitExit(), 0);
    EXPECT_EQ(without_camera.WaitExit(), 0);
}
