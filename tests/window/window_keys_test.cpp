// The picture window's keys and its life without a display: typed characters reach the player
// as their bytes (shifted ones included), the control keys as theirs.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "support/temp_tree.hpp"
#include "window/harness.hpp"

namespace {

TEST(WindowKeys, ShiftedCharactersArriveAsTheirBytes) {
    Player player;
    player.MakeFrames(1, 31);
    player.Start();
    ASSERT_TRUE(ShowsFrame(player, 0));
    player.Key("X");  // 'X': ten frames on
    EXPECT_TRUE(ShowsFrame(player, 10));
    player.Key("exclam");  // '!': 10 % of the folder, frame 3
    EXPECT_TRUE(ShowsFrame(player, 3));
    player.Key("x");
    EXPECT_TRUE(ShowsFrame(player, 4));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(WindowKeys, ControlKeysArriveAsTheirBytes) {
    Player player;
    player.MakeOwnPictures();
    player.MakeFrames(1, 3);
    player.Start();
    // A key typed in a cycle that decodes a new frame is dropped: each key below waits until
    // the picture it leads to is on the screen.
    ASSERT_TRUE(ShowsFrame(player, 0));
    player.Key("Tab");
    EXPECT_TRUE(player.WaitForOutput("SET: AutoReplayFlag = [ ON ]\n"));
    EXPECT_TRUE(ShowsFrame(player, 2));  // automatic replay stops at the last frame
    player.Key("BackSpace");
    EXPECT_TRUE(player.WaitForOutput("SET: 画像表示用ウィンドウサイズ = [ 自動変更 ]\n"));
    EXPECT_TRUE(ShowsFrame(player, 2));
    player.Key("Escape");
    EXPECT_TRUE(player.WaitForOutput(" OOOO    OOO   O   O   OOOO  OOOOO  O \n"));
    EXPECT_TRUE(player.WaitForPicture([](const cv::Mat& picture) {
        return !ColourNear(CentreColour(picture), FrameColour(2));  // the key chart
    }));
    player.Key("Return");
    EXPECT_TRUE(player.WaitForOutput("  OOO    OOOO    O \n\n"));
    EXPECT_TRUE(ShowsFrame(player, 2));
    player.Key("Escape");
    EXPECT_TRUE(player.WaitForOutput(" OOOO    OOO   O   O   OOOO  OOOOO  O \n", 20.0, 2));
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0) << player.Output();
}

TEST(WindowKeys, WithoutADisplayThePlayerRunsWithoutAWindow) {
    Player player;
    player.MakeFrames(1, 3);
    player.Environment("DISPLAY", "");
    player.Environment("WAYLAND_DISPLAY", "");
    player.Start();
    ASSERT_TRUE(player.WaitForOutput("The system is starting up."));
    EXPECT_TRUE(player.WaitForErrors("WARNING: No picture window can be opened ("));
    EXPECT_TRUE(player.Running());
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

}  // namespace
