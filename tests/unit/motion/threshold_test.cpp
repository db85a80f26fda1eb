// The threshold file and the threshold rules of the keys and the calibration.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "common/state.hpp"
#include "motion/motion.hpp"
#include "support/temp_tree.hpp"

namespace {

int EntriesIn(const std::string& folder) {
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++entries;
    return entries;
}

}  // namespace

TEST(ThresholdFile, ReadsOneNumberAndKeepsTheValueOtherwise) {
    TempTree tree;
    GLT_threshold = 11500;
    EXPECT_FALSE(ReadThresholdFile());
    EXPECT_EQ(GLT_threshold, 11500);
    tree.WriteFile(kThresholdFile, "  12345\n");
    EXPECT_TRUE(ReadThresholdFile());
    EXPECT_EQ(GLT_threshold, 12345);
    tree.WriteFile(kThresholdFile, "many");
    EXPECT_TRUE(ReadThresholdFile());
    EXPECT_EQ(GLT_threshold, 12345);
}

TEST(ThresholdFile, WriteReplacesTheFileWithTheBareNumber) {
    TempTree tree;
    tree.WriteFile(kThresholdFile, "123456789\n");
    GLT_threshold = 777;
    EXPECT_TRUE(WriteThresholdFile());
    EXPECT_EQ(tree.ReadFile(kThresholdFile), "777");
    GLT_threshold = -48;
    EXPECT_TRUE(WriteThresholdFile());
    EXPECT_EQ(tree.ReadFile(kThresholdFile), "-48");
    EXPECT_EQ(EntriesIn(tree.work()), 1);  // no temporary file left behind
}

TEST(ThresholdFile, WriteThatCannotReplaceTheFileFailsAndLeavesNoTemporaryFile) {
    TempTree tree;
    tree.MakeFolder(kThresholdFile);  // a folder in the way: the rename must fail
    GLT_threshold = 500;
    EXPECT_FALSE(WriteThresholdFile());
    EXPECT_EQ(EntriesIn(tree.work()), 1);
}

TEST(CalibratedThreshold, OneAndAHalfTimesTheHighestWithinItsBounds) {
    EXPECT_EQ(CalibratedThreshold(0), kLowestCalibratedThreshold);
    EXPECT_EQ(CalibratedThreshold(INT32_MAX), INT32_MAX);
}
