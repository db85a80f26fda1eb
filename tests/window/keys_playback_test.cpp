// Keys typed into the real window: upper-case and shifted keys, automatic replay, window sizing.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/temp_tree.hpp"
#include "window/harness.hpp"

namespace {

// Starts the player on folder S001 of count frames and waits until it plays.
void StartOn(Player& player, int count) {
    player.MakeFrames(1, count);
    player.MakeOwnPictures();
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output();
    ASSERT_FALSE(player.WindowId().empty());
}

// True once the file holds exactly text (it is written just after its line is printed).
bool FileHolds(const std::string& path, const std::string& text) {
    for (int tries = 0; tries < 100; ++tries) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (bytes.str() == text) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(KeysInTheWindow, ShiftedAndUpperCaseKeysMoveSpeedAndThreshold) {
    Player player;
    StartOn(player, 101);
    ASSERT_TRUE(ShowsFrame(player, 0));

    player.Key("percent");  // SHIFT+5: half way, frame 50 of 0..100
    EXPECT_TRUE(ShowsFrame(player, 50));
    player.Key("Z");
    EXPECT_TRUE(ShowsFrame(player, 40));
    player.Key("X");
    player.Key("X");
    EXPECT_TRUE(ShowsFrame(player, 60));
    player.Key("exclam");  // SHIFT+1
    EXPECT_TRUE(ShowsFrame(player, 10));

    player.Key("S");
    EXPECT_TRUE(player.WaitForOutput("SET: REPLAY_SPEED = [ S  L  O  W ]  ( x 0.5 )\n"));
    player.Key("V");
    EXPECT_TRUE(
        player.WaitForOutput("[ NG ] Read Failed : [ GLT_THRESHOLD.dat ]\n"
                             "SET: GLT_threshold = [ 11548 ]\n"));
    EXPECT_TRUE(FileHolds(player.work() + "/GLT_THRESHOLD.dat", "11548"));
    player.Key("R");
    EXPECT_TRUE(player.WaitForOutput(
        "\n* Changed Contents Folder to [ S001 ]\n\n"
        "\n ---[ REFRESH SETTINGS AND RELOAD IMAGE FILES IN CONTENTS FOLDER ]---\n"));
    EXPECT_TRUE(ShowsFrame(player, 0));
    player.Key("Escape");
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(KeysInTheWindow, TabReplaysToTheLastFrameAndStops) {
    Player player;
    StartOn(player, 40);
    ASSERT_TRUE(ShowsFrame(player, 0));
    player.Key("Tab");
    ASSERT_TRUE(player.WaitForOutput("SET: AutoReplayFlag = [ ON ]\n"));
    // About 30 frames a second, forward, stopping at the last frame. (A key typed while a new
    // frame is being shown is dropped, so the second Tab waits for the end.)
    ASSERT_TRUE(ShowsFrame(player, 39));
    player.Key("Tab");
    ASSERT_TRUE(player.WaitForOutput("SET: AutoReplayFlag = [ OFF ]\n"));
    player.Key("l");
    ASSERT_TRUE(ShowsFrame(player, 0));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(ColourNear(CentreColour(player.WindowPicture()), FrameColour(0)));
    player.Key("Escape");
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(KeysInTheWindow, BackSpaceMakesTheWindowFollowThePicture) {
    Player player;
    StartOn(player, 5);
    player.Key("BackSpace");
    ASSERT_TRUE(player.WaitForOutput("SET: 画像表示用ウィンドウサイズ = [ 自動変更 ]\n"));
    EXPECT_TRUE(player.WaitForPicture([](const cv::Mat& picture) {
        return picture.cols == 160 && picture.rows == 120 &&
               ColourNear(CentreColour(picture), FrameColour(0));
    }));
    player.Key("BackSpace");
    EXPECT_TRUE(player.WaitForOutput("SET: 画像表示用ウィンドウサイズ = [ 手動変更 ]\n"));
    EXPECT_TRUE(ShowsFrame(player, 0));
    EXPECT_EQ(Count(player.Output(), "SET: 画像表示用ウィンドウサイズ"), 2u);
    player.Key("Escape");
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0);
}
