// The camera stand-in behaves like a device: pictures at the clip's rate, and a loop at its end
// when asked and possible.
#include "platform/camera.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_tree.hpp"
#include "unit/capture/camera_clip.hpp"

namespace {

std::vector<cv::Mat> Levels(int count) {
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < count; ++i) pictures.push_back(clip::Flat(i * 4 % 256));
    return pictures;
}

// Reads until the stand-in ends (at most limit pictures); returns the pictures read and the
// seconds from the first picture to the end.
int ReadAll(int limit, double* seconds) {
    cv::Mat picture;
    int count = 0;
    const auto first = std::chrono::steady_clock::now();
    while (count < limit && CameraRead(&picture)) ++count;
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
    return count;
}

struct PaceCase {
    const char* name;
    int pictures;
    double rate;      // the rate written into the clip; 0: a picture series
    double expect_s;  // the clip's length at its own rate, 30 a second where that is unusable
};

TEST(CameraStandIn, DeliversPicturesAtTheClipsRate) {
    unsetenv("ZELTRAN_CAMERA_PACE");
    unsetenv("ZELTRAN_CAMERA_LOOP");
    for (const PaceCase& c : {PaceCase{"30 a second", 60, 30.0, 59 / 30.0},
                              PaceCase{"picture series", 16, 0.0, 15 / 30.0},
                              PaceCase{"absurd rate", 16, 1000.0, 15 / 30.0}}) {
        SCOPED_TRACE(c.name);
        TempTree tree;
        clip::UseSource(c.rate > 0
                            ? clip::WriteVideo(tree.work() + "/cam.avi", Levels(c.pictures), c.rate)
                            : clip::WriteSequence(tree.work(), Levels(c.pictures)));
        ASSERT_TRUE(CameraOpen(0));
        double seconds = 0.0;
        EXPECT_EQ(ReadAll(1000, &seconds), c.pictures);
        EXPECT_NEAR(seconds, c.expect_s, c.expect_s * 0.2);
        CameraRelease();
    }
}

TEST(CameraStandIn, LoopStartsAFileAgainButNotAPipe) {
    TempTree tree;
    setenv("ZELTRAN_CAMERA_PACE", "0", 1);
    setenv("ZELTRAN_CAMERA_LOOP", "1", 1);
    const std::string video = clip::WriteVideo(tree.work() + "/cam.avi", Levels(10));
    clip::UseSource(video);
    ASSERT_TRUE(CameraOpen(0));
    double seconds = 0.0;
    EXPECT_EQ(ReadAll(35, &seconds), 35);
    CameraRelease();

    // A pipe cannot be read again: its end is the end of the camera, as without the loop.
    const std::string pipe = tree.work() + "/cam.pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string feed = "timeout 20 cat '" + video + "' > '" + pipe + "' &";
    ASSERT_EQ(std::system(feed.c_str()), 0);
    clip::UseSource(pipe);
    ASSERT_TRUE(CameraOpen(0));
    EXPECT_EQ(ReadAll(35, &seconds), 10);
    CameraRelease();
    unsetenv("ZELTRAN_CAMERA_PACE");
    unsetenv("ZELTRAN_CAMERA_LOOP");
}

}  // namespace
