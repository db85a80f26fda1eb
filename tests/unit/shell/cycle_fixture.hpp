// A temporary installation with real frames in ../S001 and the frame list filled in directly,
// for tests of the main loop and its display step (scripted window and clock).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/state.hpp"
#include "contents/naming.hpp"
#include "fakes/fake_window.hpp"
#include "support/temp_tree.hpp"

class CycleTest : public testing::Test {
  protected:
    void SetUp() override {
        fake::ResetWindow();
        // A shared block of this test alone.
        shm_name_ = "ZELTRAN_UNIT_SHELL_" + std::to_string(getpid());
        setenv("ZELTRAN_SHM_NAME", shm_name_.c_str(), 1);
    }
    void TearDown() override {
        const std::string path = "/dev/shm/" + shm_name_;
        unlink(path.c_str());
    }

    // count frames in ../S001 of width x height, listed in FrameData as folder 1.
    void MakeFolder(int count, int width = 40, int height = 30) {
        tree_.MakeFrames(1, FrameRange(count), width, height);
        for (int i = 0; i < count; ++i) SetFile(FrameData[i].file, FramePath(1, i));
        MaxCount = count;
        folder_index = 0;
    }
    static void SetFile(char* field, const std::string& path) {
        std::strncpy(field, path.c_str(), kPathBytes - 1);
        field[kPathBytes - 1] = '\0';
    }
    static int LoadedCount() {
        int count = 0;
        for (int i = 0; i < MaxCount; ++i) count += FrameData[i].loaded;
        return count;
    }

    TempTree tree_;
    std::string shm_name_;
};
