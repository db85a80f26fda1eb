// Keys typed into the real window: the pause, the quit and the random contents selection.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/banners.hpp"
#include "support/temp_tree.hpp"
#include "window/harness.hpp"

namespace {

const std::string kFarewellStart = kFarewellBanner.substr(0, kFarewellBanner.find('\n', 2) + 1);

void StartPlayer(Player& player) {
    player.MakeOwnPictures();
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output();
    ASSERT_FALSE(player.WindowId().empty());
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

TEST(PauseInTheWindow, LettersWaitEnterGoesOn) {
    Player player;
    player.MakeFrames(1, 20);
    StartPlayer(player);
    player.Key("x");
    player.Key("x");
    ASSERT_TRUE(ShowsFrame(player, 2));
    player.Key("Escape");
    ASSERT_TRUE(player.WaitForOutput(kPauseBanner));
    // The key allocation picture takes the frame's place.
    EXPECT_TRUE(player.WaitForPicture(
        [](const cv::Mat& picture) { return !ColourNear(CentreColour(picture), FrameColour(2)); }));
    player.Key("s");
    player.Key("x");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(player.Running());
    EXPECT_EQ(player.Output().find("SET: REPLAY_SPEED"), std::string::npos);
    player.Key("Return");
    ASSERT_TRUE(player.WaitForOutput(kPauseBanner + kGoBanner));
    EXPECT_TRUE(ShowsFrame(player, 2));  // the same frame again, the pause ignored the x
    player.Key("Escape");
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(PauseInTheWindow, SecondEscapeSaysFarewell) {
    Player player;
    player.MakeFrames(1, 3);
    StartPlayer(player);
    player.Key("Escape");
    ASSERT_TRUE(player.WaitForOutput(kPauseBanner));
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0);
    EXPECT_NE(player.Output().find(kPauseBanner + kFarewellStart), std::string::npos);
    EXPECT_EQ(player.Output().find(kGoBanner), std::string::npos);
}

TEST(RandomContentsInTheWindow, ListsOnceAndSelectsEachTime) {
    Player player;
    player.MakeFrames(1, 3);
    player.MakeFrames(2, 3);
    // S004 has no frame 0: only the sparse probe finds it, and records what it found.
    for (int f = 1; f <= 8; ++f) {
        WriteJpeg(player.root() + "/S004/clip_0000" + std::to_string(f) + ".jpg", 160, 120,
                  FrameColour(f));
    }
    StartPlayer(player);
    player.Key("space");
    ASSERT_TRUE(player.WaitForOutput("\nThat's all.\n\n"));
    player.Key("space");
    for (int i = 0; i < 400 && Count(player.Output(), "\nThat's all.\n\n") < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const std::string out = player.Output();
    EXPECT_EQ(Count(out, "\nThat's all.\n\n"), 2u);
    EXPECT_EQ(Count(out, "*** Following is the list of contents with associated file: \n"), 1u);
    EXPECT_EQ(Count(out, "\n<<<<<<<< RANDOM CONTENTS SELECTION >>>>>>>>\n"), 2u);
    EXPECT_NE(out.find("[S  1] FILE [ ../S001/clip_00000.jpg ] exists!\n"
                       "       <<< You Are Here Now >>>\n"
                       "[S  2] FILE [ ../S002/clip_00000.jpg ] exists!\n"
                       "*** Created a file[ ../S004/check_result.txt ] ***\n"
                       "[S  4] FILE [ ../S004/clip_0000"),
              std::string::npos)
        << out;
    const std::string check = ReadWhole(player.root() + "/S004/check_result.txt");
    ASSERT_EQ(check.size(), 22u);
    EXPECT_EQ(check.substr(0, 16), "FOUND: clip_    ");
    EXPECT_EQ(check.substr(17), ".jpg\n");
    player.Key("Escape");
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0);
}
