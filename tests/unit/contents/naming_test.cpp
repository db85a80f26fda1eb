// The names of folders and per-folder files, and the folder numbers read back from such names.
#include "contents/naming.hpp"

#include <gtest/gtest.h>

namespace {

TEST(FolderNames, AreWrittenWithZerosAndReadBackFromTheSameKindOfNameOnly) {
    EXPECT_EQ(ContentsFolderName(1), "S001");
    EXPECT_EQ(ContentsFolderName(12345), "S12345");
    EXPECT_EQ(ParameterFileName(1), "glt_env0001.dat");
    EXPECT_EQ(FrameListFileName(12345), "frame_data12345.dat");
    EXPECT_EQ(ContentsFolderNumber("S001"), 1);
    EXPECT_EQ(ContentsFolderNumber("S12345"), 12345);
    EXPECT_EQ(ParameterFileNumber("glt_env0003.dat"), 3);
    EXPECT_EQ(ParameterFileNumber("glt_env3.dat"), 3);  // the caller compares the name it makes
    EXPECT_EQ(FrameListFileNumber("frame_data0012.dat"), 12);
    EXPECT_EQ(ContentsFolderNumber("S999999999999999999"), 999999999999999999);
    for (const char* name : {"S", "s001", "S01a", "S-1", "S 12", "S0000000000000000001"}) {
        EXPECT_EQ(ContentsFolderNumber(name), 0) << name;
    }
    for (const char* name :
         {"glt_env.dat", "glt_env0001.txt", "glt_env0001.dat~", "frame_data1.dat"}) {
        EXPECT_EQ(ParameterFileNumber(name), 0) << name;
    }
    EXPECT_EQ(FrameListFileNumber("frame_data0001.dat.bak"), 0);
}

}  // namespace
