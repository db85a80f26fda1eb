// The panels over the picture in the real window: F2 (motion meter) and F1 (key list) change
// only their own part of the screen and leave no trace when switched off, the meter's bar rises
// above its threshold line when the camera sees motion, and without a font they show without
// text after one warning.
#include <gtest/gtest.h>
#include <signal.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "support/temp_tree.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

namespace {

constexpr int kWidth = 640;  // frames and window: the size the panels are laid out for
constexpr int kHeight = 480;
const cv::Vec3b kOwnBar(80, 220, 80);  // BGR of the meter's parts
const cv::Vec3b kThresholdLine(0, 220, 255);
constexpr char kPauseBannerEnd[] = " O      O   O   OOO   OOOO   OOOOO  O \n\n";
constexpr char kGoBannerEnd[] = "  OOO    OOOO    O \n\n";

// The smallest rectangle holding every pixel in which a and b differ (empty: none).
cv::Rect ChangedArea(const cv::Mat& a, const cv::Mat& b) {
    if (a.size() != b.size()) return cv::Rect(0, 0, std::max(a.cols, b.cols), 1);
    cv::Mat difference;
    cv::absdiff(a, b, difference);
    cv::Mat changed;
    cv::inRange(difference, cv::Scalar(0, 0, 0), cv::Scalar(0, 0, 0), changed);
    cv::bitwise_not(changed, changed);
    std::vector<cv::Point> points;
    cv::findNonZero(changed, points);
    return points.empty() ? cv::Rect() : cv::boundingRect(points);
}

// Topmost row holding colour, or -1.
int TopRowOf(const cv::Mat& picture, const cv::Vec3b& colour) {
    for (int y = 0; y < picture.rows; ++y) {
        for (int x = 0; x < picture.cols; ++x) {
            if (picture.at<cv::Vec3b>(y, x) == colour) return y;
        }
    }
    return -1;
}

// Switches a panel on with key, checks where the screen changed, switches it off and expects
// the picture of before to the pixel.
void ExpectPanelWithin(Player& player, const std::string& key, const cv::Rect& area) {
    const cv::Mat before = player.WindowPicture();
    ASSERT_EQ(before.size(), cv::Size(kWidth, kHeight));
    player.Key(key);
    cv::Rect changed;
    EXPECT_TRUE(player.WaitForPicture([&](const cv::Mat& now) {
        changed = ChangedArea(before, now);
        return !changed.empty();
    })) << key
        << " showed nothing";
    EXPECT_EQ(changed & area, changed) << key << " changed " << changed << " outside " << area;
    player.Key(key);
    EXPECT_TRUE(player.WaitForPicture([&](const cv::Mat& now) {
        return ChangedArea(before, now).empty();
    })) << key
        << " again left a trace";
}

TEST(Panels, EachChangesOnlyItsOwnPartAndLeavesNoTrace) {
    Player player;
    StartOnFrames(player, 5, kWidth, kHeight);
    const std::string console = player.Output();
    // The meter in the top band, the key list in the lower part.
    ExpectPanelWithin(player, "F2", cv::Rect(8, 8, kWidth - 16, 170));
    ExpectPanelWithin(player, "F1", cv::Rect(0, 200, kWidth, kHeight - 200));
    // Both at once, and both off again: the picture as it was.
    ExpectPanelWithin(player, "F2 F1", cv::Rect(0, 0, kWidth, kHeight));
    // The cycle never saw the function keys: nothing was printed for them.
    EXPECT_EQ(player.Output(), console);
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(Panels, MeterBarRisesAboveTheThresholdLineWhenTheCameraSeesMotion) {
    Player player;
    // Black and white by turns: far above the threshold every cycle.
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < 6000; ++i) pictures.push_back(clip::Flat(i % 2 ? 255 : 0));
    player.CameraSource(clip::WriteVideo(player.root() + "/camera.avi", pictures));
    player.Environment("ZELTRAN_METER", "1");
    // The meter covers the centre of the picture, where ShowsFrame looks.
    player.MakeFrames(1, 5, kWidth, kHeight);
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output();
    cv::Mat still;
    int line = -1;
    ASSERT_TRUE(player.WaitForPicture([&](const cv::Mat& now) {
        still = now;
        line = TopRowOf(now, kThresholdLine);
        return line >= 0;
    })) << "no meter on the screen";
    EXPECT_EQ(TopRowOf(still, kOwnBar), -1) << "a bar without a camera";
    player.Key("q");
    EXPECT_TRUE(player.WaitForPicture([&](const cv::Mat& now) {
        const int bar = TopRowOf(now, kOwnBar);
        return bar >= 0 && bar < line;
    }));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

// The key chart of the pause is seen whole, also its resume / quit line at the bottom; the
// panels come back with the resume.
TEST(Panels, HideWhilePausedAndReturnOnResume) {
    Player player;
    StartOnFrames(player, 5, kWidth, kHeight);
    player.Key("Escape");
    ASSERT_TRUE(player.WaitForOutput(kPauseBannerEnd));
    cv::Mat chart;
    ASSERT_TRUE(player.WaitForPicture([&](const cv::Mat& now) {
        chart = now;
        return !ColourNear(CentreColour(now), FrameColour(0));
    }));
    player.Key("Return");
    ASSERT_TRUE(player.WaitForOutput(kGoBannerEnd));
    player.Key("F2 F1");
    ASSERT_TRUE(player.WaitForPicture(
        [&](const cv::Mat& now) { return TopRowOf(now, kThresholdLine) >= 0; }));
    player.Key("Escape");
    ASSERT_TRUE(player.WaitForOutput(kPauseBannerEnd, 20.0, 2));
    EXPECT_TRUE(player.WaitForPicture([&](const cv::Mat& now) {
        return ChangedArea(chart, now).empty();
    })) << "a panel covers the key chart";
    player.Key("Return");
    EXPECT_TRUE(player.WaitForPicture(
        [&](const cv::Mat& now) { return TopRowOf(now, kThresholdLine) >= 0; }));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(Panels, WithoutAFontTheyShowWithoutTextAfterOneWarning) {
    Player player;
    player.Environment("ZELTRAN_FONT", player.root() + "/no-such-font.ttf");
    StartOnFrames(player, 5, kWidth, kHeight);
    const cv::Mat before = player.WindowPicture();
    player.Key("F1");
    EXPECT_TRUE(player.WaitForPicture(
        [&](const cv::Mat& now) { return !ChangedArea(before, now).empty(); }));
    player.Key("F2");
    EXPECT_TRUE(player.WaitForErrors("WARNING: The panels show without text: no font"));
    player.Key("F1");
    EXPECT_TRUE(player.Running());
    const std::string errors = player.Errors();
    EXPECT_EQ(errors.find("WARNING"), errors.rfind("WARNING")) << errors;
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

}  // namespace
