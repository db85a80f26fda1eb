// SetDisplay.txt and F11: the window covers the screen with the picture letterboxed, or centred
// at its own size in the auto-size mode, and F11 gives the plain window back.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <string>

#include "support/temp_tree.hpp"
#include "window/harness.hpp"

namespace {

constexpr int kWidth = 320;  // wide frames: the letterbox bars are tall
constexpr int kHeight = 120;

bool Black(const cv::Mat& screen, const cv::Rect& strip) {
    return strip.area() == 0 || ColourNear(cv::mean(screen(strip)), cv::Scalar(0, 0, 0), 8.0);
}

// True when the whole screen shows frame 0 scaled to `shown` at the centre, black around it.
bool ScreenShowsCentred(Player& player, const cv::Size& shown) {
    const cv::Mat screen = player.Screenshot();
    if (screen.empty()) return false;
    const cv::Rect picture((screen.cols - shown.width) / 2, (screen.rows - shown.height) / 2,
                           shown.width, shown.height);
    const int margin = 8;  // scaling blurs the edges
    return ColourNear(CentreColour(screen(picture)), FrameColour(0)) &&
           Black(screen, cv::Rect(0, 0, screen.cols, std::max(0, picture.y - margin))) &&
           Black(screen, cv::Rect(0, picture.br().y + margin, screen.cols,
                                  std::max(0, screen.rows - picture.br().y - margin))) &&
           Black(screen, cv::Rect(0, 0, std::max(0, picture.x - margin), screen.rows));
}

// The window covers the screen (a plain window on the black screen would look the same) and
// shows the picture centred at `shown`.
testing::AssertionResult CoversScreen(Player& player, const cv::Size& shown) {
    const cv::Size screen = player.Screenshot().size();
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (player.WindowPicture().size() == screen && ScreenShowsCentred(player, shown)) {
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
    // F11 is no key of the cycle: the frame stayed where it was and nothing else ran.
    std::ifstream settings(player.work() + "/SetDisplay.txt");
    std::string line;
    std::getline(settings, line);
    EXPECT_EQ(line, "1 3 1");  // F11 does not rewrite the file
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

}  // namespace
