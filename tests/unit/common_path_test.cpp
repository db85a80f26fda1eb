#include <gtest/gtest.h>

#include "common/path.hpp"
#include "contents/naming.hpp"

TEST(PathRule, BlanksOfTheWholeResultBecomeZeros) {
    EXPECT_EQ(FormatPath("../S%3d", 1), "../S001");
    EXPECT_EQ(FormatPath("glt_env%4d.dat", 1), "glt_env0001.dat");
    EXPECT_EQ(FormatPath("%s/%c%3d/clip_%5d.jpg", "..", 'S', 1, 12), "../S001/clip_00012.jpg");
    EXPECT_EQ(FormatPath("a b%3d", 7), "a0b007");
    EXPECT_EQ(ContentsFolderPath(1234), "../S1234");
    EXPECT_EQ(FramePath(12, 450), "../S012/clip_00450.jpg");
}

TEST(FrameFileName, SixteenthAndTenthByteFromTheEnd) {
    EXPECT_TRUE(IsFrameFileName("/x/S00012_00450.jpg"));
    EXPECT_TRUE(IsFrameFileName("S00012_00450.jpg"));     // exactly 16 bytes
    EXPECT_FALSE(IsFrameFileName("00012_00450.jpg"));     // 15 bytes
    EXPECT_FALSE(IsFrameFileName("/x/S00012-00450.jpg"));
    EXPECT_FALSE(IsFrameFileName("/x/s00012_00450.jpg"));
    EXPECT_FALSE(IsFrameFileName(""));
}
