#include "shell/display.hpp"

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>

#include "common/state.hpp"
#include "fakes/fake_window.hpp"
#include "shell/main_loop.hpp"
#include "unit/shell/cycle_fixture.hpp"

namespace {

using DisplayStepTest = CycleTest;

// Shows frame n in a display step and returns what the window got.
void ShowFrame(double n) {
    frame_no = n;
    DisplayStep();
}

TEST_F(DisplayStepTest, CacheIsDroppedWholeAtTheCamOnMemoryLimit) {
    struct Case {
        int limit;
        int frames_before_drop;
    };
    for (const Case& c : {Case{1, 1}, Case{3, 3}}) {
        SCOPED_TRACE(c.limit);
        MakeFolder(6);
        CamOnMemory = c.limit;
        for (int i = 0; i < c.frames_before_drop; ++i) ShowFrame(i);
        EXPECT_EQ(LoadedCount(), c.frames_before_drop);
        ShowFrame(c.frames_before_drop);  // the limit is reached: everything goes first
        EXPECT_EQ(LoadedCount(), 1);
        EXPECT_EQ(FrameData[c.frames_before_drop].loaded, 1);
        for (int i = 0; i < c.frames_before_drop; ++i) EXPECT_TRUE(frame_cache[i].empty()) << i;
        // Clean state for the next case.
        for (int i = 0; i < kMaxFrames; ++i) frame_cache[i].release();
        for (int i = 0; i < MaxCount; ++i) FrameData[i].loaded = 0;
        shown_frame_no = -1.0;
    }
}

TEST_F(DisplayStepTest, NewFrameIsShownWithFlipAndDropsTheCycleKey) {
    MakeFolder(3);
    CamOnMemory = 10;
    flip_mode = 1;
    ShowFrame(2.6);
    EXPECT_EQ(pending_key, 1);
    ASSERT_EQ(fake::shown.size(), 1u);
    EXPECT_EQ(fake::shown[0].flip, 1);
    EXPECT_EQ(shown_frame_no, 2.6);
    // The cached picture is never flipped itself.
    const cv::Vec3b centre = frame_cache[2].at<cv::Vec3b>(15, 20);
    const cv::Scalar expected = FrameColour(2);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(centre[c], expected[c], 12);
}

TEST_F(DisplayStepTest, PositionMarkerSitsAtTheFractionOfTheFolder) {
    MakeFolder(10, 100, 40);
    CamOnMemory = 10;
    ShowFrame(5.7);  // x = 100 * 5.7 / 10 = 57
    const cv::Mat& picture = frame_cache[5];
    ASSERT_FALSE(picture.empty());
    const int bottom = picture.rows - 1;
    EXPECT_EQ(picture.at<cv::Vec3b>(bottom, 57), cv::Vec3b(200, 255, 200));
    EXPECT_EQ(picture.at<cv::Vec3b>(bottom - 1, 57 + 4), cv::Vec3b(0, 255, 0));
    EXPECT_EQ(picture.at<cv::Vec3b>(bottom - 1, 57 - 4), cv::Vec3b(0, 255, 0));
    // Away from the marker the frame is untouched.
    const cv::Vec3b far = picture.at<cv::Vec3b>(bottom, 20);
    EXPECT_NE(far, cv::Vec3b(0, 255, 0));
    EXPECT_NE(far, cv::Vec3b(200, 255, 200));
    EXPECT_NE(picture.at<cv::Vec3b>(bottom - 12, 57), cv::Vec3b(0, 255, 0));
}

TEST_F(DisplayStepTest, SameFrameServesTheWindowOnceInTheTenthCycle) {
    MakeFolder(2);
    ShowFrame(1.0);
    for (int cycle = 1; cycle <= 30; ++cycle) {
        ShowFrame(1.5);  // still frame 1
        EXPECT_EQ(fake::waits.size(), cycle >= 10 ? 1u : 0u) << cycle;
    }
    ASSERT_EQ(fake::waits.size(), 1u);
    EXPECT_EQ(fake::waits[0], 1);
    EXPECT_EQ(fake::shown.size(), 1u);
}

TEST_F(DisplayStepTest, NothingIsDecodedOrShownOutsideTheList) {
    MakeFolder(3);
    MaxCount = 0;
    ShowFrame(0.0);
    EXPECT_TRUE(fake::shown.empty());
    EXPECT_EQ(pending_key, 0);
    EXPECT_TRUE(frame_cache[0].empty());
}

TEST_F(DisplayStepTest, RecordWithoutFileIsSkipped) {
    MakeFolder(3);
    FrameData[1].file[0] = '\0';
    ShowFrame(1.0);
    EXPECT_TRUE(fake::shown.empty());
    EXPECT_EQ(FrameData[1].loaded, 0);
}

TEST_F(DisplayStepTest, SidePicturesComeFromFile2AndFile3) {
    MakeFolder(3);
    WriteJpeg(tree_.work() + "/side.jpg", 20, 10, cv::Scalar(0, 0, 0));
    cv::Mat side(10, 20, CV_8UC3, cv::Scalar(0, 0, 0));
    side(cv::Rect(0, 0, 10, 10)).setTo(cv::Scalar(255, 255, 255));  // white on the left
    cv::imwrite(tree_.work() + "/side.png", side);
    SetFile(FrameData[1].file2, "./side.png");
    SetFile(FrameData[1].file3, "./side.jpg");
    testing::internal::CaptureStdout();
    ShowFrame(1.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "DISP: FrameData[     1 ].http[2] = [./side.png]\n"
              "DISP: FrameData[     1 ].file[3] = [./side.jpg]\n");
    ASSERT_FALSE(side_pictures[0].empty());
    ASSERT_FALSE(side_pictures[1].empty());
    EXPECT_EQ(side_pictures[0].at<cv::Vec3b>(5, 2), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(side_pictures[1].at<cv::Vec3b>(5, 2), cv::Vec3b(0, 0, 0));  // mirrored
    EXPECT_EQ(side_pictures[1].at<cv::Vec3b>(5, 17), cv::Vec3b(255, 255, 255));
    EXPECT_FALSE(extra_picture.empty());
    EXPECT_STREQ(arg_path[scratch_slot], "./side.png");
}

TEST_F(DisplayStepTest, MissingFile2KeepsTheSidePicturesAndStillReports) {
    MakeFolder(3);
    side_pictures[0] = cv::Mat(4, 4, CV_8UC3, cv::Scalar(1, 2, 3));
    SetFile(FrameData[2].file2, "..\\nowhere\\side.jpg");
    testing::internal::CaptureStdout();
    ShowFrame(2.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "DISP: FrameData[     2 ].http[2] = [..\\nowhere\\side.jpg]\n");
    EXPECT_EQ(side_pictures[0].at<cv::Vec3b>(0, 0), cv::Vec3b(1, 2, 3));
}

TEST_F(DisplayStepTest, UndecodableFrameEndsTheProcessNamingTheFile) {
    MakeFolder(3);
    tree_.WriteFile("../S001/clip_00001.jpg", "not a picture");
    EXPECT_EXIT(ShowFrame(1.0), testing::ExitedWithCode(1),
                "ERROR: Cannot decode the frame picture \\[ \\.\\./S001/clip_00001\\.jpg \\]\n");
}

TEST_F(DisplayStepTest, ShowCurrentFrameFollowsTheFlipModeOnlyWhenLoaded) {
    MakeFolder(3);
    frame_no = 1.0;
    ShowCurrentFrame();
    EXPECT_TRUE(fake::shown.empty());
    ShowFrame(1.0);
    flip_mode = 2;
    ShowCurrentFrame();
    ASSERT_EQ(fake::shown.size(), 2u);
    EXPECT_EQ(fake::shown[1].flip, 2);
}

}  // namespace
