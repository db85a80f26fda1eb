// Key commands on the frame position, the speed, the threshold and the display.
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/state.hpp"
#include "keys_test_support.hpp"
#include "platform/files.hpp"
#include "shell/main_loop.hpp"
#include "support/temp_tree.hpp"

struct JumpCase {
    int key;
    int max_count;
    double frame;
};

TEST(ShiftedDigitKeys, JumpToTheirShareOfTheFolderSilently) {
    const JumpCase cases[] = {
        {'%', 101, 50.0}, {'%', 100, 49.5}, {'!', 11, 1.0}, {'"', 11, 2.0},
        {'#', 11, 3.0},   {'$', 11, 4.0},   {'&', 11, 6.0}, {'\'', 11, 7.0},
        {'(', 11, 8.0},   {')', 11, 9.0},   {')', 1, 0.0},  {'%', 0, 0.0},
    };
    for (const JumpCase& c : cases) {
        MaxCount = c.max_count;
        frame_no = 3.0;
        StartFrameNum = 7;
        EndFrameNum = 9;
        EXPECT_EQ(RunKey(c.key), "") << static_cast<char>(c.key);
        EXPECT_DOUBLE_EQ(frame_no, c.frame) << static_cast<char>(c.key) << " " << c.max_count;
        EXPECT_EQ(StartFrameNum, 0);
        EXPECT_EQ(EndFrameNum, 0);
    }
}

struct StepCase {
    int key;
    double from;
    int wrap;
    double to;
    int direction;
    int prev_direction;  // -1: left as it was (-1)
};

TEST(FrameStepKeys, MoveByOneOrTenAndStopOrWrapAtTheEnds) {
    const StepCase cases[] = {
        {'Z', 4.0, 0, 0.0, 0, 0},   {'Z', 4.0, 1, 49.0, 0, -1}, {'/', 14.0, 0, 4.0, 0, 0},
        {'z', 4.5, 0, 3.5, 0, 0},   {'z', 0.0, 1, 49.0, 0, -1}, {'X', 45.0, 0, 49.0, 1, 1},
        {'X', 45.0, 1, 0.0, 1, -1}, {'\\', 3.0, 0, 13.0, 1, 1}, {'x', 49.5, 0, 49.0, 1, 1},
    };
    for (const StepCase& c : cases) {
        MaxCount = 50;
        frame_no = c.from;
        wrap_flag = c.wrap;
        direction = 7;
        prev_direction = -1;
        RunKey(c.key);
        EXPECT_DOUBLE_EQ(frame_no, c.to) << static_cast<char>(c.key) << " from " << c.from;
        EXPECT_EQ(direction, c.direction);
        EXPECT_EQ(prev_direction, c.prev_direction);
    }
}

TEST(FrameStepKeys, PrintTheirLineAndTheNamesOfTheNewFrame) {
    MaxCount = 50;
    DISP_WEB_CAM_INFO = 1;
    std::strcpy(FrameData[3].file2, "../S001/side.jpg");
    std::strcpy(FrameData[3].file3, "../S001/third.jpg");
    frame_no = 4.0;
    EXPECT_EQ(RunKey('z'),
              "KEY FUNCTION : [z][ Decrease frame_no ]\n"
              "\nFrameData[     3 ].http[2] = [../S001/side.jpg]\n"
              "FrameData[     3 ].file[3] = [../S001/third.jpg]\n");
    EXPECT_EQ(RunKey('X'), "KEY FUNCTION : [x][ Increase frame_no ]\n");
    DISP_WEB_CAM_INFO = 0;
    EXPECT_EQ(RunKey('x'), "");
}

TEST(RandomFrameKey, PicksAFrameOfTheFolder) {
    MaxCount = 5;
    DISP_WEB_CAM_INFO = 2;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(RunKey('j'), "KEY FUNCTION : [j][ Set frame_no at Random ]\n");
        EXPECT_GE(frame_no, 0.0);
        EXPECT_LT(frame_no, 5.0);
        EXPECT_DOUBLE_EQ(frame_no, static_cast<int>(frame_no));
    }
}

TEST(RandomFrameKey, DoesNothingWithoutFrames) {
    MaxCount = 0;
    DISP_WEB_CAM_INFO = 2;
    frame_no = 7.0;
    EXPECT_EQ(RunKey('j'), "");
    EXPECT_DOUBLE_EQ(frame_no, 7.0);
}

TEST(FirstFrameKey, ResetsPositionAndReplayPeriod) {
    frame_no = 12.5;
    StartFrameNum = 3;
    EndFrameNum = 30;
    DISP_WEB_CAM_INFO = 1;
    EXPECT_EQ(RunKey('l'), "KEY FUNCTION : [l][ Reset Frame Number ]\n");
    EXPECT_DOUBLE_EQ(frame_no, 0.0);
    EXPECT_EQ(StartFrameNum, 0);
    EXPECT_EQ(EndFrameNum, 0);
}

struct SpeedCase {
    int from;
    int key;
    int to;
    const char* line;
};

TEST(SpeedKeys, StepOneLevelWithinOneToFiveAndPrintTheLevel) {
    const SpeedCase cases[] = {
        {5, 's', 5, "SET: REPLAY_SPEED = [ VERY  FAST ]  ( x 6.0 )\n"},
        {3, 's', 4, "SET: REPLAY_SPEED = [ F  A  S  T ]  ( x 3.0 )\n"},
        {2, 's', 3, "SET: REPLAY_SPEED = [ N O R M A L ] ( x 1.0 )\n"},
        {3, 'S', 2, "SET: REPLAY_SPEED = [ S  L  O  W ]  ( x 0.5 )\n"},
        {2, 'S', 1, "SET: REPLAY_SPEED = [ VERY  SLOW ]  ( x 0.1 )\n"},
        {1, 'S', 1, "SET: REPLAY_SPEED = [ VERY  SLOW ]  ( x 0.1 )\n"},
        {INT_MAX, 's', 5, "SET: REPLAY_SPEED = [ VERY  FAST ]  ( x 6.0 )\n"},
    };
    for (const SpeedCase& c : cases) {
        REPLAY_SPEED = c.from;
        EXPECT_EQ(RunKey(c.key), c.line);
        EXPECT_EQ(REPLAY_SPEED, c.to);
    }
}

struct ThresholdCase {
    int key;
    const char* file;  // nullptr: no threshold file
    int32_t start;
    int32_t step;  // sample_step
    int32_t result;
};

TEST(ThresholdKeys, ChangeByOnePercentOfTheSampledPixelsAndRewriteTheFile) {
    const ThresholdCase cases[] = {
        {'v', "30", 0, 4, 0},      // 30 - 48 is raised to 0
        {'V', "100", 0, 4, 148},   // the file's value, not the one in memory
        {'v', "1000", 0, 2, 808},  // 76800 / 400 = 192
        {'V', "0", 0, 0, 768},     // a step of 0 counts as 1
        {'V', "0", 0, 5000, 768},  // so does a step whose square overflows
        {'V', "0", 0, 100, 0},     // 76800 / 1000000 is 0
        {'V', "2147483600", 0, 4, INT_MAX},
        {'V', nullptr, 500, 4, 548},  // no file: the value in memory changes
    };
    for (const ThresholdCase& c : cases) {
        TempTree tree;
        if (c.file != nullptr) tree.WriteFile("GLT_THRESHOLD.dat", c.file);
        GLT_threshold = c.start;
        sample_step = c.step;
        DISP_WEB_CAM_INFO = 2;
        const std::string out = RunKey(c.key);
        EXPECT_EQ(GLT_threshold, c.result) << c.key << " " << (c.file ? c.file : "-");
        EXPECT_EQ(tree.ReadFile("GLT_THRESHOLD.dat"), std::to_string(c.result));
        EXPECT_EQ(DISP_WEB_CAM_INFO, 0);
        EXPECT_NE(out.find("SET: GLT_threshold = [ " + std::to_string(c.result) + " ]\n"),
                  std::string::npos);
    }
}

TEST(ThresholdKeys, PrintTheirLines) {
    TempTree tree;
    tree.WriteFile("GLT_THRESHOLD.dat", "30");
    sample_step = 4;
    DISP_WEB_CAM_INFO = 1;
    EXPECT_EQ(RunKey('v'),
              "KEY FUNCTION : [v][ Decrease GLT_threshold ]\n"
              "SET: GLT_threshold = [ 0 ]\n");
    EXPECT_EQ(RunKey('V'), "SET: GLT_threshold = [ 48 ]\n");  // the report was switched off
}

TEST(ThresholdKeys, ReportAFileThatCannotBeReadOrWritten) {
    TempTree tree;
    std::filesystem::remove(tree.work());  // the working folder is gone: nothing opens there
    GLT_threshold = 100;
    sample_step = 4;
    DISP_WEB_CAM_INFO = 1;
    EXPECT_EQ(RunKey('V'),
              "KEY FUNCTION : [V][ Increase GLT_threshold ]\n"
              "[ NG ] Read Failed : [ GLT_THRESHOLD.dat ]\n"
              "SET: GLT_threshold = [ 148 ]\n"
              "[ NG ] Write Failed : [ GLT_THRESHOLD.dat ]\n");
    EXPECT_EQ(GLT_threshold, 148);
    EXPECT_EQ(DISP_WEB_CAM_INFO, 0);
}

TEST(ThresholdKeys, ReportAWriteThatDoesNotReachTheDiskAndKeepTheOldFile) {
    TempTree tree;
    tree.WriteFile("GLT_THRESHOLD.dat", "100");
    const DiskCalls system = DiskCallsInUse();
    DiskCallsInUse().sync = [](int) { return errno = EIO, -1; };
    sample_step = 4;
    DISP_WEB_CAM_INFO = 1;
    EXPECT_EQ(RunKey('V'),
              "KEY FUNCTION : [V][ Increase GLT_threshold ]\n"
              "SET: GLT_threshold = [ 148 ]\n"
              "[ NG ] Write Failed : [ GLT_THRESHOLD.dat ]\n");
    DiskCallsInUse() = system;
    EXPECT_EQ(tree.ReadFile("GLT_THRESHOLD.dat"), "100");
}

TEST(FlipKey, AlternatesNormalAndMirroredAndShowsTheFrameAtOnce) {
    fake::ResetWindow();
    MaxCount = 1;
    frame_no = 0.0;
    frame_cache[0] = cv::Mat(24, 32, CV_8UC3, cv::Scalar(10, 20, 30));
    FrameData[0].loaded = 1;
    DISP_WEB_CAM_INFO = 1;
    EXPECT_EQ(RunKey('e'),
              "KEY FUNCTION : [e][ Change Flip Mode ]\n"
              "SET: flip_mode = [ LEFT-RIGHT REVERSE ]\n");
    EXPECT_EQ(flip_mode, 1);
    ASSERT_EQ(fake::shown.size(), 1u);
    EXPECT_EQ(fake::shown[0].flip, 1);
    EXPECT_EQ(RunKey('e'),
              "KEY FUNCTION : [e][ Change Flip Mode ]\n"
              "SET: flip_mode = [ NORMAL ]\n");
    EXPECT_EQ(flip_mode, 0);
    ASSERT_EQ(fake::shown.size(), 2u);
    EXPECT_EQ(fake::shown[1].flip, 0);
}

TEST(FlipKey, LeavesTheTopBottomModeForNormal) {
    flip_mode = 2;
    EXPECT_EQ(RunKey('e'), "SET: flip_mode = [ NORMAL ]\n");
    EXPECT_EQ(flip_mode, 0);
}

struct ReportCase {
    int32_t from;
    int32_t to;
    const char* out;
};

TEST(CameraReportKey, SwitchesBetweenOffAndTheCameraLine) {
    const ReportCase cases[] = {
        {1, 1, ""},
        {0, 2, "SET: DISP_WEB_CAM_INFO = [ ENABLED ]\n"},
        {2, 0, "SET: DISP_WEB_CAM_INFO = [ DISABLED ]\n"},
        {-1, 0, "SET: DISP_WEB_CAM_INFO = [ DISABLED ]\n"},
    };
    for (const ReportCase& c : cases) {
        DISP_WEB_CAM_INFO = c.from;
        EXPECT_EQ(RunKey('i'), c.out);
        EXPECT_EQ(DISP_WEB_CAM_INFO, c.to);
    }
}

TEST(AutoReplayKey, TogglesAndTellsTheNewState) {
    DISP_WEB_CAM_INFO = 2;
    EXPECT_EQ(RunKey(kKeyTab),
              "KEY FUNCTION : [TAB][ Toggle AutoReplayFlag ]\n"
              "SET: AutoReplayFlag = [ ON ]\n");
    EXPECT_EQ(AutoReplayFlag, 1);
    DISP_WEB_CAM_INFO = 0;
    EXPECT_EQ(RunKey(kKeyTab), "SET: AutoReplayFlag = [ OFF ]\n");
    EXPECT_EQ(AutoReplayFlag, 0);
}

TEST(WindowSizeKey, RecreatesTheWindowWithTheNewSizing) {
    fake::ResetWindow();
    DISP_WEB_CAM_INFO = 1;
    shown_frame_no = 12.0;
    EXPECT_EQ(RunKey(kKeyBackSpace),
              "KEY FUNCTION : [BS][ Toggle VARIABLE_SIZE_FLAG ]\n"
              "SET: 画像表示用ウィンドウサイズ = [ 自動変更 ]\n");
    EXPECT_EQ(VARIABLE_SIZE_FLAG, 1);
    EXPECT_EQ(fake::destroys, 1);
    EXPECT_EQ(fake::creates, 1);
    EXPECT_EQ(fake::last_auto_size, 1);
    EXPECT_DOUBLE_EQ(shown_frame_no, -1.0);
    DISP_WEB_CAM_INFO = 0;
    EXPECT_EQ(RunKey(kKeyBackSpace), "SET: 画像表示用ウィンドウサイズ = [ 手動変更 ]\n");
    EXPECT_EQ(VARIABLE_SIZE_FLAG, 0);
    EXPECT_EQ(fake::creates, 2);
    EXPECT_EQ(fake::last_auto_size, 0);
}

TEST(KeyDispatch, QuietKeysSkipTheIdleStepAndOtherBytesRunIt) {
    MaxCount = 100;
    AutoReplayFlag = 1;
    direction = 1;
    for (const char* k = "@GMTY[]bfghkmty|"; *k != '\0'; ++k) {
        frame_no = 10.0;
        EXPECT_EQ(RunKey(*k), "") << *k;
        EXPECT_DOUBLE_EQ(frame_no, 10.0) << *k;
    }
    for (const int key : {kKeyEnter, kNoKey, int{'a'}, int{'A'}, int{'w'}, int{'-'}, 0, 1}) {
        frame_no = 10.0;
        bool kept_running = false;
        RunKey(key, &kept_running);
        EXPECT_TRUE(kept_running);
        EXPECT_DOUBLE_EQ(frame_no, 11.0) << key;
    }
}
