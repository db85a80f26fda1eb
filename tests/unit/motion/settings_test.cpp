#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <numeric>
#include <opencv2/imgcodecs.hpp>

#include "motion/motion.hpp"
#include "support/temp_tree.hpp"

namespace {

struct Said {
    std::string out, err;
};

Said Load(const TempTree& tree, const char* file) {
    if (file) tree.WriteFile("SetMotion.txt", file);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    LoadMotionSettings();
    return {testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
}

int Excluded() {
    const MotionFilter& filter = LoadedMotionFilter();
    return kGreyFrameBytes - std::accumulate(filter.counts, filter.counts + kGreyFrameBytes, 0);
}

TEST(MotionSettingsFile, MissingFileIsSilentAndTurnsTheFilterOff) {
    TempTree tree;
    cv::imwrite(tree.work() + "/mask.png", cv::Mat(24, 32, CV_8UC3, cv::Scalar(255, 255, 255)));
    Load(tree, "mask mask.png\nlight 1\n");
    ASSERT_TRUE(LoadedMotionFilter().masked && LoadedMotionFilter().light);
    std::remove((tree.work() + "/SetMotion.txt").c_str());
    const Said said = Load(tree, nullptr);
    EXPECT_EQ(said.out + said.err, "");
    EXPECT_FALSE(LoadedMotionFilter().masked || LoadedMotionFilter().light);
}

TEST(MotionSettingsFile, ReportsSettingsAndSkipsBadLinesByNumber) {
    TempTree tree;
    const Said said = Load(tree, "# a room\nlight 2\nlamp 1\n\n  light   1  # the sun\nlight\n");
    EXPECT_EQ(said.out, "\nSET: light = 1 ( 1-> a change of the whole picture is not motion )\n");
    EXPECT_EQ(said.err,
              "[ NG ] SetMotion.txt line 2 skipped: light is 0 or 1\n"
              "[ NG ] SetMotion.txt line 3 skipped: unknown setting (mask, light)\n"
              "[ NG ] SetMotion.txt line 6 skipped: light is 0 or 1\n");
    EXPECT_TRUE(LoadedMotionFilter().light);
    EXPECT_FALSE(LoadedMotionFilter().masked);
}

TEST(MotionSettingsFile, AMaskIsScaledToTheCameraAndWidenedByItsMargin) {
    TempTree tree;
    // 640 x 480, its left 200 columns dark: 100 camera columns, plus the 8-pixel margin.
    cv::Mat mask(480, 640, CV_8UC3, cv::Scalar(255, 255, 255));
    mask(cv::Rect(0, 0, 200, 480)).setTo(cv::Scalar(0, 0, 0));
    cv::imwrite(tree.work() + "/My Mask.png", mask);
    const Said said = Load(tree, "mask My Mask.png\n");
    EXPECT_EQ(said.out,
              "\nSET: mask  = My Mask.png (640 x 480, 34 % of the picture excluded)\n"
              "SET: light = 0 ( 1-> a change of the whole picture is not motion )\n");
    EXPECT_EQ(said.err, "");
    EXPECT_TRUE(LoadedMotionFilter().masked);
    EXPECT_EQ(Excluded(), 108 * 240);
    EXPECT_EQ(LoadedMotionFilter().counts[107], 0);
    EXPECT_EQ(LoadedMotionFilter().counts[108], 1);
}

TEST(MotionSettingsFile, AMaskThatIsNoPictureWarnsOnceAndTheWholePictureCounts) {
    TempTree tree;
    tree.WriteFile("bad.png", "not a picture");
    // A PNG header claiming 20000 x 20000 pixels is refused before anything is allocated.
    // (signature, IHDR length and name, 13 bytes of header, then a CRC left at zero)
    tree.WriteFile("huge.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x4e\x20\0\0\x4e\x20"
                                           "\x08\x02\0\0\0",
                                           29) +
                                   std::string(4, '\0'));
    mkfifo((tree.work() + "/pipe.png").c_str(), 0600);  // would block a reader: not opened
    for (const char* name : {"bad.png", "huge.png", "missing.png", "pipe.png"}) {
        const Said said = Load(tree, (std::string("light 1\nmask ") + name + "\n").c_str());
        EXPECT_EQ(said.err, std::string("[ NG ] SetMotion.txt: the mask ") + name +
                                " cannot be read as a picture; the whole picture counts\n");
        EXPECT_FALSE(LoadedMotionFilter().masked);
        EXPECT_TRUE(LoadedMotionFilter().light);
    }
}

}  // namespace
