// SetDisplay.txt and F11: the window covers the screen with the picture letterboxed, or centred
// at its own size in the auto-size mode, and F11 gives the plain window back.
#include <gtest/gtest.h>
#include <signal.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

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

// A picture shown at its own size reaches the screen pixel for pixel (copied straight from the
// cache), and so does its mirror image (drawn through the texture): the decoded frame with its
// position marker, nothing blended or converted on the way.
TEST(OwnSizePicture, ReachesTheScreenExactlyAsIsAndMirrored) {
    Player player;
    cv::Mat detail(96, 200, CV_8UC3);
    cv::randu(detail, 0, 256);
    cv::GaussianBlur(detail, detail, cv::Size(5, 5), 0);
    std::vector<unsigned char> jpeg;
    cv::imencode(".jpg", detail, jpeg);
    for (const char* name : {"../S001/clip_00000.jpg", "../S001/clip_00001.jpg"}) {
        player.WriteFile(name, std::string(jpeg.begin(), jpeg.end()));
    }
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output();
    cv::Mat expected = cv::imdecode(jpeg, cv::IMREAD_COLOR);
    // The marker of frame 0 of 2, as the display step draws it.
    cv::rectangle(expected, cv::Point(0, 91), cv::Point(0, 96), cv::Scalar(0, 255, 0), 10);
    cv::rectangle(expected, cv::Point(0, 92), cv::Point(0, 96), cv::Scalar(200, 255, 200), 3);
    const auto same_as = [](const cv::Mat& want) {
        return [want](const cv::Mat& window) {
            return window.size() == want.size() && cv::norm(window, want, cv::NORM_INF) == 0.0;
        };
    };
    EXPECT_TRUE(player.WaitForPicture(same_as(expected)));
    player.Key("e");
    ASSERT_TRUE(player.WaitForOutput("SET: flip_mode = [ LEFT-RIGHT REVERSE ]\n"));
    cv::Mat mirrored;
    cv::flip(expected, mirrored, 1);
    EXPECT_TRUE(player.WaitForPicture(same_as(mirrored)));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}
