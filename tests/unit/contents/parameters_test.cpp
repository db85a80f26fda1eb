#include "contents/parameters.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/state.hpp"
#include "support/temp_tree.hpp"

namespace {

// The seventeen main values in file order, as text.
std::vector<std::string> MainValues() {
    return {"5",  "0",  "120", "7.5", "9000", "0", "2.5", "4", "3",
            "11", "12", "13",  "1",   "1",    "1", "16",  "17"};
}

// A parameter file: the main values, key frames 100.5, 101.5, ... and the optional tail.
std::string ParameterText(const std::vector<std::string>& main, const std::string& tail = "") {
    std::string text;
    for (const std::string& value : main) text += value + "\n";
    for (int i = 0; i < kKeyFrames; ++i) text += std::to_string(100 + i) + ".5 ";
    return text + "\n" + tail;
}

std::string LoadAndCapture() {
    testing::internal::CaptureStdout();
    LoadParameters();
    return testing::internal::GetCapturedStdout();
}

void AppendInt32(std::string& bytes, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(ParameterFile, EveryValueReachesItsTargetAndTheTailIsEchoed) {
    TempTree tree;
    tree.WriteFile("glt_env.dat", ParameterText(MainValues(), "10 20 1 1 2\n"));
    const std::string out = LoadAndCapture();
    EXPECT_EQ(out,
              "\nLOADING Additional Parameters...\n\n"
              "SET(1): StartFrameNum = 10\n"
              "SET(1): EndFrameNum   = 20\n"
              "SET(1): MouseReverseFlag = 1\n"
              "SET(1): MouseVertFlag    = 1\n"
              "SET(1): flip_mode = 2\n"
              "Finished Reading GLT Parameters from File : glt_env.dat\n");
    EXPECT_EQ(sample_step, 5);
    EXPECT_EQ(folder_index, 0);
    EXPECT_EQ(MaxCount, 120);
    EXPECT_EQ(frame_no, 7.5);
    EXPECT_EQ(VR_threshold, 9000);
    EXPECT_EQ(direction, 0);
    EXPECT_EQ(VR_step, 2.5);
    EXPECT_EQ(toggle_limit, 4);
    EXPECT_EQ(reset_limit, 3);
    EXPECT_EQ(keyframe_mode, 11);
    EXPECT_EQ(keyframe_wait, 12);
    EXPECT_EQ(keyframe_wait_limit, 13);
    EXPECT_EQ(DISP_WEB_CAM_INFO, 1);
    EXPECT_EQ(camera_log_mode, 1);
    EXPECT_EQ(wrap_flag, 1);
    EXPECT_EQ(vr_mode, 16);
    EXPECT_EQ(keyframe_index, 17);
    EXPECT_EQ(KeyFrameNumber[0], 100.5);
    EXPECT_EQ(KeyFrameNumber[kKeyFrames - 1], 100.5 + kKeyFrames - 1);
    EXPECT_EQ(StartFrameNum, 10);
    EXPECT_EQ(EndFrameNum, 20);
    EXPECT_EQ(MouseReverseFlag, 1);
    EXPECT_EQ(MouseVertFlag, 1);
    EXPECT_EQ(flip_mode, 2);
}

TEST(ParameterFile, TheFolderFileWinsOverTheCommonOne) {
    TempTree tree;
    folder_index = 6;
    std::vector<std::string> own = MainValues();
    own[1] = "6";
    own[4] = "7777";
    tree.WriteFile("glt_env0007.dat", ParameterText(own));
    tree.WriteFile("glt_env.dat", ParameterText(MainValues()));
    EXPECT_EQ(LoadAndCapture(), "Finished Reading GLT Parameters from File : glt_env0007.dat\n");
    EXPECT_EQ(VR_threshold, 7777);
    EXPECT_EQ(folder_index, 6);
}

TEST(ParameterFile, NoFileChangesNothingAndSaysNothing) {
    TempTree tree;
    StartFrameNum = 5;
    flip_mode = 1;
    EXPECT_EQ(LoadAndCapture(), "");
    EXPECT_EQ(sample_step, 4);
    EXPECT_EQ(StartFrameNum, 5);
    EXPECT_EQ(flip_mode, 1);
}

TEST(ParameterFile, FileEndingAfterTheKeyFramesClearsTheFiveOptionalValues) {
    TempTree tree;
    tree.WriteFile("glt_env.dat", ParameterText(MainValues()));
    StartFrameNum = EndFrameNum = MouseReverseFlag = MouseVertFlag = flip_mode = 1;
    EXPECT_EQ(LoadAndCapture(), "Finished Reading GLT Parameters from File : glt_env.dat\n");
    EXPECT_EQ(StartFrameNum, 0);
    EXPECT_EQ(EndFrameNum, 0);
    EXPECT_EQ(MouseReverseFlag, 0);
    EXPECT_EQ(MouseVertFlag, 0);
    EXPECT_EQ(flip_mode, 0);
}

TEST(ParameterFile, OnlyTheFirstOptionalValueKeepsTheOtherFour) {
    TempTree tree;
    tree.WriteFile("glt_env.dat", ParameterText(MainValues(), "42"));
    EndFrameNum = 8;
    MouseReverseFlag = 9;
    MouseVertFlag = 10;
    flip_mode = 1;
    EXPECT_EQ(LoadAndCapture(),
              "\nLOADING Additional Parameters...\n\n"
              "SET(1): StartFrameNum = 42\n"
              "SET(-1): EndFrameNum   = 8\n"
              "SET(-1): MouseReverseFlag = 9\n"
              "SET(-1): MouseVertFlag    = 10\n"
              "SET(-1): flip_mode = 1\n"
              "Finished Reading GLT Parameters from File : glt_env.dat\n");
    EXPECT_EQ(StartFrameNum, 42);
    EXPECT_EQ(EndFrameNum, 8);
    EXPECT_EQ(flip_mode, 1);
}

TEST(ParameterFile, AWordInTheTailStopsEveryLaterValue) {
    TempTree tree;
    tree.WriteFile("glt_env.dat", ParameterText(MainValues(), "3 4 off 1 1"));
    MouseVertFlag = 6;
    const std::string out = LoadAndCapture();
    EXPECT_NE(out.find("SET(1): EndFrameNum   = 4\n"
                       "SET(0): MouseReverseFlag = 0\n"
                       "SET(0): MouseVertFlag    = 6\n"
                       "SET(0): flip_mode = 0\n"),
              std::string::npos)
        << out;
}

TEST(ParameterFile, AWordInTheMiddleLeavesThatValueAndAllLaterOnesUnchanged) {
    TempTree tree;
    std::vector<std::string> values = MainValues();
    values[4] = "high";
    tree.WriteFile("glt_env.dat", ParameterText(values, "10 20 1 1 2"));
    VR_threshold = 11500;
    StartFrameNum = 3;
    flip_mode = 1;
    EXPECT_EQ(LoadAndCapture(), "Finished Reading GLT Parameters from File : glt_env.dat\n");
    EXPECT_EQ(MaxCount, 120);  // before the word
    EXPECT_EQ(frame_no, 7.5);
    EXPECT_EQ(VR_threshold, 11500);  // the word and everything after it
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(keyframe_index, 0);
    EXPECT_EQ(KeyFrameNumber[0], 0.0);
    EXPECT_EQ(StartFrameNum, 0);  // the optional tail counts as absent
    EXPECT_EQ(flip_mode, 0);
}

TEST(ParameterFile, AFolderNamedByTheCommonFileIsReadFromItsOwnFileNextTime) {
    TempTree tree;
    std::vector<std::string> common = MainValues();
    common[1] = "2";
    tree.WriteFile("glt_env.dat", ParameterText(common));
    std::vector<std::string> own = MainValues();
    own[1] = "2";
    own[2] = "33";
    tree.WriteFile("glt_env0003.dat", ParameterText(own));
    LoadAndCapture();
    EXPECT_EQ(folder_index, 2);
    EXPECT_EQ(LoadAndCapture(), "Finished Reading GLT Parameters from File : glt_env0003.dat\n");
    EXPECT_EQ(MaxCount, 33);
}

// Values that would later index outside a table, overflow or divide by zero are limited.
TEST(ParameterFile, StoredValuesStayInsideTheirTables) {
    struct Case {
        int position;  // 0-based place among the seventeen main values
        const char* text;
        std::function<void()> check;
    };
    const Case cases[] = {
        {2, "21999", [] { EXPECT_EQ(MaxCount, 21999); }},  // above the frames found: kept
        {2, "30000", [] { EXPECT_EQ(MaxCount, kMaxFrames); }},
        {2, "-5", [] { EXPECT_EQ(MaxCount, 0); }},
        {2, "99999999999", [] { EXPECT_EQ(MaxCount, kMaxFrames); }},
        {1, "-3", [] { EXPECT_EQ(folder_index, 0); }},
        {1, "2147483647", [] { EXPECT_EQ(folder_index, kHighestFolderIndex); }},
        {0, "0", [] { EXPECT_EQ(sample_step, 1); }},
        {0, "-4", [] { EXPECT_EQ(sample_step, 1); }},
        {0, "100000", [] { EXPECT_EQ(sample_step, GLT_F_XMAX); }},
        {3, "1e300", [] { EXPECT_EQ(frame_no, kMaxFrames); }},
        {3, "-4.5", [] { EXPECT_EQ(frame_no, 0.0); }},
        {3, "nan", [] { EXPECT_EQ(frame_no, 0.0); }},
        {5, "7", [] { EXPECT_EQ(direction, 2); }},
        {5, "-1", [] { EXPECT_EQ(direction, 2); }},
        {16, "5000", [] { EXPECT_EQ(keyframe_index, kKeyFrames - 1); }},
        {16, "-1", [] { EXPECT_EQ(keyframe_index, 0); }},
        {4, "-99999999999", [] { EXPECT_EQ(VR_threshold, INT_MIN); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("value ") + std::to_string(c.position + 1) + " = " + c.text);
        TempTree tree;
        std::vector<std::string> values = MainValues();
        values[c.position] = c.text;
        tree.WriteFile("glt_env.dat", ParameterText(values));
        MaxCount = 0;
        frame_no = 0.0;
        LoadAndCapture();
        c.check();
        EXPECT_EQ(VR_step, 2.5);  // reading went on after the value
    }
}

TEST(ParameterFile, FlipModeOutsideItsThreeModesIsStoredAsNormal) {
    TempTree tree;
    tree.WriteFile("glt_env.dat", ParameterText(MainValues(), "1 2 0 0 9"));
    const std::string out = LoadAndCapture();
    EXPECT_NE(out.find("SET(1): flip_mode = 0\n"), std::string::npos) << out;
    EXPECT_EQ(flip_mode, 0);
}

TEST(KeyFrameImport, PositiveEntriesBecomeKeyFramesAndAreListed) {
    TempTree tree;
    std::string block;
    for (int i = 0; i < kPivotEntries; ++i) {
        AppendInt32(block, i == 3 ? 250 : i == 1 ? -2 : i == 2000 ? 65536 : 0);
    }
    tree.WriteFile("../S001/nqt_config.dat", block + "123\n");
    KeyFrameNumber[0] = 9.0;
    const std::string out = LoadAndCapture();
    EXPECT_EQ(out,
              "\nFound a file [ nqt_config.dat ] in the Contents Folder...\n"
              "\nNow, Importing [ ../S001/nqt_config.dat ]\n"
              "\n"
              "PivotHistory[      0 ] = [      0 ]\n"
              "PivotHistory[      1 ] = [     -2 ]\n"
              "PivotHistory[      2 ] = [      0 ]\n"
              "PivotHistory[      3 ] = [    250 ]\n"
              "PivotHistory[      4 ] = [      0 ]\n"
              "PivotHistory[      5 ] = [      0 ]\n"
              "PivotHistory[      6 ] = [      0 ]\n"
              "PivotHistory[      7 ] = [      0 ]\n"
              "PivotHistory[      8 ] = [      0 ]\n"
              "PivotHistory[      9 ] = [      0 ]\n"
              "PivotHistory[     10 ] = [      0 ]\n"
              "\n"
              "SET: KeyFrameNumber[ 3 ] = 250.000000.\n"
              "\nThat is all.\n"
              "Finished Importing [ ../S001/nqt_config.dat ]\n");
    EXPECT_EQ(KeyFrameNumber[3], 250.0);
    EXPECT_EQ(KeyFrameNumber[1], -2.0);
    EXPECT_EQ(KeyFrameNumber[0], 0.0);
    EXPECT_EQ(PivotHistory[2000], 65536);
}

TEST(KeyFrameImport, AShortFileKeepsTheRestOfPivotHistory) {
    TempTree tree;
    for (int32_t& entry : PivotHistory) entry = 0x11111111;
    std::string block;
    AppendInt32(block, 5);
    AppendInt32(block, 6);
    block += std::string("\x22\x22", 2);  // half of entry 2
    tree.WriteFile("../S001/nqt_config.dat", block);
    LoadAndCapture();
    EXPECT_EQ(PivotHistory[0], 5);
    EXPECT_EQ(PivotHistory[1], 6);
    EXPECT_EQ(PivotHistory[2], 0x11112222);  // as if the bytes had been read over the table
    EXPECT_EQ(PivotHistory[3], 0x11111111);
    EXPECT_EQ(PivotHistory[kPivotEntries - 1], 0x11111111);
    EXPECT_EQ(KeyFrameNumber[3], 286331153.0);
}

TEST(KeyFrameImport, FolderWithoutTheFileIsSilent) {
    TempTree tree;
    folder_index = 1;
    tree.WriteFile("../S001/nqt_config.dat", std::string(16, '\x01'));
    EXPECT_EQ(LoadAndCapture(), "");
    EXPECT_EQ(PivotHistory[0], 0);
}
