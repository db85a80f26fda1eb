// SetDisplay.txt and F11: the window covers the screen with the picture letterboxed, or centred
// at its own size in the auto-size mode, and F11 gives the plain window back.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "support/temp_tree.hpp"
#include "window/harness.hpp"

namespace {

constexpr int kWidth = 320;  // wide frames: the letterbox bars are tall
constexpr int kHeight = 120;

// The window covers the screen (a plain window on the black screen would look alike) and shows
// frame 0 centred at `shown`, black above it.
testing::AssertionResult CoversScreen(Player& player, const cv::Size& shown) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const cv::Mat screen = player.WindowPicture();
        if (screen.size() != player.Screenshot().size()) continue;
        const cv::Point corner((screen.cols - shown.width) / 2, (screen.rows - shown.height) / 2);
        const cv::Rect above(0, 0, screen.cols, corner.y - 8);  // scaling blurs the edge
        if (ColourNear(CentreColour(screen(cv::Rect(corner, shown))), FrameColour(0)) &&
            ColourNear(cv::mean(screen(above)), cv::Scalar(0, 0, 0), 8.0)) {
            return testing::AssertionSuccess();
        }
    }
    return testing::AssertionFailure() << "the screen does not show the picture at " << shown;
}

TEST(Fullscreen, CoversTheScreenTogglesWithF11AndKeepsFullscreenOnBackSpace) {
    Player player;
    player.MakeFrames(1, 3, kWidth, kHeight);
    player.WriteFile("SetDisplay.txt", "1 3 1\n");  // there is no display 3
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output();
    EXPECT_TRUE(
        player.WaitForErrors("WARNING: There is no display 3 (1 found); display 0 is used.\n"));
    const cv::Size screen = player.Screenshot().size();
    const double fit = std::min(static_cast<double>(screen.width) / kWidth,
                                static_cast<double>(screen.height) / kHeight);
    EXPECT_TRUE(CoversScreen(player, cv::Size(kWidth * fit + 0.5, kHeight * fit + 0.5)));

    player.Key("F11");
    EXPECT_TRUE(player.WaitForOutput("SET: Fullscreen = [ OFF ]\n"));
    EXPECT_TRUE(player.WaitForPicture([](const cv::Mat& window) {
        return window.size() == cv::Size(kWidth, kHeight) &&
               ColourNear(CentreColour(window), FrameColour(0));
    }));

    player.Key("F11");
    EXPECT_TRUE(player.WaitForOutput("SET: Fullscreen = [ ON ]\n"));
    player.Key("BackSpace");
    EXPECT_TRUE(player.WaitForOutput("SET: 画像表示用ウィンドウサイズ = [ 自動変更 ]\n"));
    EXPECT_TRUE(CoversScreen(player, cv::Size(kWidth, kHeight)));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

}  // namespace
