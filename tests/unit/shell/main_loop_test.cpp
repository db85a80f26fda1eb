#include "shell/main_loop.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/videoio.hpp>
#include <string>

#include "block/shared_block.hpp"
#include "common/state.hpp"
#include "fakes/fake_window.hpp"
#include "platform/camera.hpp"
#include "platform/window.hpp"
#include "shell/keys.hpp"
#include "unit/shell/cycle_fixture.hpp"

namespace {

using MainLoopTest = CycleTest;

void SetArguments(const std::string& frame_file) {
    arg_count = 2;
    std::strcpy(arg_path[0], "zeltran");
    std::strcpy(arg_path[1], frame_file.c_str());
}

TEST_F(MainLoopTest, FrameFileOnTheCommandLineSelectsFolderAndFrame) {
    tree_.MakeFrames(1, FrameRange(3));
    tree_.MakeFrames(12, FrameRange(460));
    SetArguments("/videos/S00012_00450.jpg");
    testing::internal::CaptureStdout();
    RunPrologue();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.rfind("\nThe system is starting up. This may take a while.\n\n", 0), 0u)
        << output;
    EXPECT_NE(output.find("\n***** Given File Name : [ /videos/S00012_00450.jpg ]\n"
                          "DirNumString=[ 00012 ]   FrameNumString=[ 00450 ]\n"
                          "\n***** Changed Contents Directory to [S 12] \n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("\n***** Changed current frame_no = 450.000000\n\n"
                          "SET REPLAY PERIOD : [      0 ] <-> [   459]\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(folder_index, 11);
    EXPECT_EQ(frame_no, 450.0);
    EXPECT_EQ(StartFrameNum, 0);
    EXPECT_EQ(EndFrameNum, 459);
    EXPECT_EQ(shown_frame_no, -1.0);
    EXPECT_EQ(camera_log_mode, 2);
    EXPECT_EQ(VR_threshold, 9600);
}

TEST_F(MainLoopTest, FrameZeroOnTheCommandLineSetsNoReplayPeriod) {
    tree_.MakeFrames(1, FrameRange(3));
    tree_.MakeFrames(2, FrameRange(3));
    SetArguments("S00002_00000.jpg");
    testing::internal::CaptureStdout();
    RunPrologue();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("\n***** Changed current frame_no = 0.000000\n\n"), std::string::npos);
    EXPECT_EQ(output.find("SET REPLAY PERIOD"), std::string::npos);
    EXPECT_EQ(folder_index, 1);
}

TEST_F(MainLoopTest, NamesThatDoNotFollowTheFramePatternAreIgnored) {
    tree_.MakeFrames(1, FrameRange(3));
    for (const char* name :
         {"S0002_00007.jpg" /* 15 bytes */, "/x/T00002_00007.jpg", "/x/S00002-00007.jpg"}) {
        SCOPED_TRACE(name);
        SetArguments(name);
        testing::internal::CaptureStdout();
        RunPrologue();
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(output.find("Given File Name"), std::string::npos);
        EXPECT_EQ(folder_index, 0);
    }
}

TEST_F(MainLoopTest, ReplaySpeedSetsTheStepAtTheTopOfEveryCycle) {
    MakeFolder(2);
    const double factors[] = {0.1, 0.5, 1.0, 3.0, 6.0};
    for (int level = 1; level <= 5; ++level) {
        REPLAY_SPEED = level;
        VR_step = 99.0;
        ASSERT_TRUE(RunCycle());
        EXPECT_EQ(VR_step, factors[level - 1]);
    }
    REPLAY_SPEED = 9;  // no such level: the previous factor stays
    ASSERT_TRUE(RunCycle());
    EXPECT_EQ(VR_step, 6.0);
}

TEST_F(MainLoopTest, CycleClearsTheReplayPeriodAndSetsTheMotionLimits) {
    MakeFolder(2);
    StartFrameNum = 5;
    EndFrameNum = 9;
    ASSERT_TRUE(RunCycle());
    EXPECT_EQ(StartFrameNum, 0);
    EXPECT_EQ(EndFrameNum, 0);
    EXPECT_EQ(toggle_limit, 5);
    EXPECT_EQ(reset_limit, 2);
}

TEST_F(MainLoopTest, QuitRequestEndsTheLoopAfterTheKeyPoll) {
    MakeFolder(2);
    RequestQuit();
    EXPECT_FALSE(RunCycle());
}

TEST_F(MainLoopTest, ThresholdFileIsReadIntoBothThresholdsEveryCycle) {
    MakeFolder(2);
    tree_.WriteFile("GLT_THRESHOLD.dat", "4321");
    ASSERT_TRUE(RunCycle());
    EXPECT_EQ(GLT_threshold, 4321);
    EXPECT_EQ(VR_threshold, 4321);
}

TEST_F(MainLoopTest, StatusLinesOfTheTwoReportModes) {
    MakeFolder(8);
    OpenSharedBlock();
    SI[kDiffSumWord] = 1234;
    SI[1 + 3] = 777;
    WriteSharedBlock();
    frame_no = 5.9;
    REPLAY_SPEED = 2;
    DISP_WEB_CAM_INFO = 1;
    VR_threshold = 4242;  // the line shows the value of the previous cycle
    testing::internal::CaptureStdout();
    ASSERT_TRUE(RunCycle());
    std::string output = testing::internal::GetCapturedStdout();
    char expected[300];
    std::snprintf(expected, sizeof expected,
                  "[S1] [    5 /    7] [DifferenceSum=%7d (SI.DiffSum=   1234 )] "
                  "[VR_threshold= 4242 ] [VR_step=  0.50 ] [f_rate=%6.2f [fps]]\n",
                  DifferenceSum, f_rate);
    EXPECT_EQ(output.substr(0, std::strlen(expected)), expected);

    DISP_WEB_CAM_INFO = 2;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(RunCycle());
    output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.substr(0, output.find('\n') + 1),
              "*[SI.DiffSum=   1234 ][WebCam(  3 ) =    777 ]\n");
}

TEST_F(MainLoopTest, ReportModeMinusOneBecomesZero) {
    MakeFolder(2);
    DISP_WEB_CAM_INFO = -1;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(RunCycle());
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("[S1]"), std::string::npos);
    EXPECT_EQ(DISP_WEB_CAM_INFO, 0);
}

// A short clip stands in for the camera.
std::string MakeClip(const TempTree& tree) {
    const std::string path = tree.root() + "/camera.avi";
    cv::VideoWriter writer(path, cv::VideoWriter::fourcc('M', 'J', 'P', 'G'), 10.0,
                           cv::Size(320, 240));
    for (int i = 0; i < 20; ++i)
        writer.write(cv::Mat(240, 320, CV_8UC3, cv::Scalar(i * 10, 90, 30)));
    return path;
}

TEST_F(MainLoopTest, CameraLogTakesTheFirstFreeNameEveryCycle) {
    MakeFolder(2);
    setenv("ZELTRAN_CAMERA_SOURCE", MakeClip(tree_).c_str(), 1);
    ASSERT_TRUE(CameraOpen(0));
    camera_on = 1;
    camera_frame = cv::Mat(240, 320, CV_8UC3, cv::Scalar(10, 20, 30));
    camera_log_mode = 1;
    tree_.WriteFile("../log/clip_00000.jpg", "taken");
    tree_.WriteFile("../log/clip_00001.jpg", "taken");
    tree_.WriteFile("../log/clip_00003.jpg", "taken");
    ASSERT_TRUE(RunCycle());
    EXPECT_FALSE(cv::imread(tree_.work() + "/../log/clip_00002.jpg").empty());
    EXPECT_FALSE(tree_.Exists("../log/clip_00004.jpg"));
    ASSERT_TRUE(RunCycle());
    EXPECT_FALSE(cv::imread(tree_.work() + "/../log/clip_00004.jpg").empty());
    EXPECT_EQ(tree_.ReadFile("../log/clip_00003.jpg"), "taken");
    // The log is off while a console report runs.
    DISP_WEB_CAM_INFO = 2;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(RunCycle());
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(tree_.Exists("../log/clip_00005.jpg"));
    CameraRelease();
}

TEST_F(MainLoopTest, KeyOfADecodingCycleIsDropped) {
    MakeFolder(20);
    CamOnMemory = 50;
    frame_no = 3.0;
    fake::keys = {'x'};
    ASSERT_TRUE(RunCycle());  // frame 3 is decoded in this cycle: 'x' is not used
    EXPECT_EQ(pending_key, 0);
    EXPECT_EQ(static_cast<int>(frame_no), 3);
    fake::keys = {'x'};
    ASSERT_TRUE(RunCycle());  // frame 3 again, nothing decoded: 'x' moves on
    EXPECT_EQ(static_cast<int>(frame_no), 4);
}

struct IdleCase {
    int direction;
    int wrap;
    double start;
    double expected;
};

TEST_F(MainLoopTest, IdleStepMovesOneFrameAndStopsOrWrapsAtTheEnds) {
    MakeFolder(10);
    AutoReplayFlag = 1;
    for (const IdleCase& c :
         {IdleCase{1, 0, 4.0, 5.0}, IdleCase{1, 0, 9.0, 9.0}, IdleCase{1, 1, 9.0, 0.0},
          IdleCase{1, 1, 9.5, 0.0}, IdleCase{1, 0, 8.5, 9.5}, IdleCase{0, 0, 4.0, 3.0},
          IdleCase{0, 0, 0.0, 0.0}, IdleCase{0, 1, 0.0, 9.0}, IdleCase{0, 1, 0.5, 9.0},
          IdleCase{7, 0, 4.0, 4.0}}) {
        SCOPED_TRACE(testing::Message() << c.direction << " " << c.wrap << " " << c.start);
        direction = c.direction;
        wrap_flag = c.wrap;
        frame_no = c.start;
        IdleStep();
        EXPECT_EQ(frame_no, c.expected);
        EXPECT_LE(f_rate, 30.0) << "paced";
    }
    AutoReplayFlag = 0;
    direction = 1;
    frame_no = 2.0;
    IdleStep();
    EXPECT_EQ(frame_no, 2.0);
}

TEST_F(MainLoopTest, IdleStepNamesTheSidePicturesOfTheNewFrame) {
    MakeFolder(5);
    AutoReplayFlag = 1;
    direction = 1;
    frame_no = 1.0;
    SetFile(FrameData[2].file2, "..\\pics\\a.jpg");
    SetFile(FrameData[2].file3, "b.jpg");
    testing::internal::CaptureStdout();
    IdleStep();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\nFrameData[     2 ].http[2] = [..\\pics\\a.jpg]\n"
              "FrameData[     2 ].file[3] = [b.jpg]\n");
}

}  // namespace
