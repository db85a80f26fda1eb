#include "capture/camera_settings.hpp"

#include <gtest/gtest.h>

#include <string>

#include "common/state.hpp"
#include "support/temp_tree.hpp"

namespace {

const std::string kLegend =
    "\n--------------------------------------\n"
    " 1 : [ CamFlipV    (Set 0 or 1)] \n"
    " 2 : [ CamFlipH    (Set 0 or 1)] \n"
    " 3 : [ CamChan     (Set 0 -- n)] \n"
    " 4 : [ CamOnMemory (Set 1 -- 5400)] \n"
    " 5 : [ CamBeep     (Set 0 or 1)] \n"
    "--------------------------------------\n";

std::string Report(int flip_v, int flip_h, int chan, int on_memory, int beep) {
    return kLegend + "SET: CamFlipV     = " + std::to_string(flip_v) +
           " ( 1-> Invert Camera Image Vertically) \n" +
           "SET: CamFlipH     = " + std::to_string(flip_h) +
           " ( 1-> Invert Camera Image Horizontally) \n" +
           "SET: CamChan      = " + std::to_string(chan) + " ( Camera ID number ) \n" +
           "SET: CamOnMemory  = " + std::to_string(on_memory) +
           " ( Number of On-Memory Frames ) \n" + "SET: CamBeep      = " + std::to_string(beep) +
           " ( 1-> Beep ON ) \n";
}

struct SettingsCase {
    const char* name;
    const char* file;
    int flip_v, flip_h, chan, on_memory, beep;  // expected after the load
};

// Values before each load: a value that cannot be read must keep these.
constexpr int kBeforeFlipV = 0, kBeforeFlipH = 1, kBeforeChan = 7, kBeforeOnMemory = 30,
              kBeforeBeep = 1;

class CameraSettingsFile : public testing::TestWithParam<SettingsCase> {};

TEST_P(CameraSettingsFile, SetsAndReportsEachValue) {
    const SettingsCase& c = GetParam();
    TempTree tree;
    tree.WriteFile("SetCamera3.txt", c.file);
    CamFlipV = kBeforeFlipV;
    CamFlipH = kBeforeFlipH;
    CamChan = kBeforeChan;
    CamOnMemory = kBeforeOnMemory;
    CamBeep = kBeforeBeep;

    testing::internal::CaptureStdout();
    LoadCameraSettings();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              Report(c.flip_v, c.flip_h, c.chan, c.on_memory, c.beep));
    EXPECT_EQ(CamFlipV, c.flip_v);
    EXPECT_EQ(CamFlipH, c.flip_h);
    EXPECT_EQ(CamChan, c.chan);
    EXPECT_EQ(CamOnMemory, c.on_memory);
    EXPECT_EQ(CamBeep, c.beep);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CameraSettingsFile,
    testing::Values(SettingsCase{"AllFive", "1 0 2 0 1\n", 1, 0, 2, 1, 1},  // 0 frames raised to 1
                    SettingsCase{"TooManyFrames", "0\n0\n0\n6000\n0\n", 0, 0, 0, 5400, 0},
                    SettingsCase{"NegativeValues", "1 1 -1 -5 0", 1, 1, -1, 1, 0},
                    // A short file keeps the values it does not reach.
                    SettingsCase{"ShortFile", "1 0", 1, 0, kBeforeChan, kBeforeOnMemory,
                                 kBeforeBeep},
                    // A word stops the reading like scanf: the rest keep their values.
                    SettingsCase{"WordInTheMiddle", "1 0 cam 4 0", 1, 0, kBeforeChan,
                                 kBeforeOnMemory, kBeforeBeep},
                    SettingsCase{"EmptyFile", "", kBeforeFlipV, kBeforeFlipH, kBeforeChan,
                                 kBeforeOnMemory, kBeforeBeep}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CameraSettingsFile, MissingFileIsSilentAndChangesNothing) {
    TempTree tree;
    CamChan = 3;
    CamOnMemory = 12;
    testing::internal::CaptureStdout();
    LoadCameraSettings();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(CamChan, 3);
    EXPECT_EQ(CamOnMemory, 12);
}

}  // namespace
