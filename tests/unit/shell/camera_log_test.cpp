#include "shell/camera_log.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/path.hpp"
#include "support/temp_tree.hpp"

namespace {

std::string LogName(int index) {
    return FormatPath("../log/clip_%5d.jpg", index);
}

}  // namespace

// Each picture saved takes the first free name from 0, gaps left by others included.
TEST(CameraLog, NamesAreTheFirstFreeFromZero) {
    TempTree tree;
    for (int taken : {0, 1, 2, 5}) tree.WriteFile(LogName(taken), "x");
    std::vector<std::string> names;
    for (int cycle = 0; cycle < 4; ++cycle) {
        names.push_back(NextCameraLogName());
        tree.WriteFile(names.back(), "saved");
    }
    EXPECT_EQ(names, (std::vector<std::string>{LogName(3), LogName(4), LogName(6), LogName(7)}));
}

// A save that failed leaves its name free: the next cycle tries the same name again, as a search
// from 0 would.
TEST(CameraLog, FailedSaveReusesTheName) {
    TempTree tree;
    EXPECT_EQ(NextCameraLogName(), "../log/clip_00000.jpg");
    EXPECT_EQ(NextCameraLogName(), "../log/clip_00000.jpg");
    tree.WriteFile(LogName(0), "saved");
    EXPECT_EQ(NextCameraLogName(), "../log/clip_00001.jpg");
}
