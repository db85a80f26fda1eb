#include "contents/display_settings.hpp"

#include <gtest/gtest.h>

#include "common/state.hpp"
#include "support/temp_tree.hpp"

namespace {

const char kLegend[] =
    "\n--------------------------------------\n"
    " 1 : [ Fullscreen   (Set 0 or 1)] \n"
    " 2 : [ DisplayIndex (Set 0 -- n)] \n"
    " 3 : [ HidePointer  (Set 0 or 1)] \n"
    "--------------------------------------\n";

std::string Load(const char* file) {
    TempTree tree;
    if (file) tree.WriteFile("SetDisplay.txt", file);
    testing::internal::CaptureStdout();
    LoadDisplaySettings();
    return testing::internal::GetCapturedStdout();
}

TEST(DisplaySettingsFile, MissingFileIsSilentAndKeepsThePlainWindow) {
    EXPECT_EQ(Load(nullptr), "");
    EXPECT_EQ(Fullscreen, 0);
    EXPECT_EQ(DisplayIndex, 0);
    EXPECT_EQ(HidePointer, 0);
}

TEST(DisplaySettingsFile, ReportsEachValueAndLimitsTheSwitches) {
    EXPECT_EQ(Load("7 2 -3\n"), std::string(kLegend) +
                                    "SET: Fullscreen   = 1 ( 1-> Fullscreen ) \n"
                                    "SET: DisplayIndex = 2 ( Monitor number ) \n"
                                    "SET: HidePointer  = 0 ( 1-> Hide Mouse Pointer ) \n");
    EXPECT_EQ(Fullscreen, 1);
    EXPECT_EQ(DisplayIndex, 2);
    EXPECT_EQ(HidePointer, 0);
}

TEST(DisplaySettingsFile, ValueThatCannotBeReadKeepsTheCurrentOne) {
    HidePointer = 1;
    Load("1 screen 0");
    EXPECT_EQ(Fullscreen, 1);
    EXPECT_EQ(DisplayIndex, 0);
    EXPECT_EQ(HidePointer, 1);
}

}  // namespace
