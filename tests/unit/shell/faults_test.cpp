// Faults a long unattended run meets: contents that vanish or change under the player, a camera
// log that cannot be written, a second user at the shared block.
#include <fcntl.h>
#include <grp.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "block/shared_block.hpp"
#include "common/state.hpp"
#include "keys_test_support.hpp"
#include "platform/camera.hpp"
#include "shell/display.hpp"
#include "shell/main_loop.hpp"
#include "unit/capture/camera_clip.hpp"
#include "unit/shell/cycle_fixture.hpp"
#include "unit/shell/test_block.hpp"

namespace {

using FaultTest = CycleTest;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A frame-list file listing files, followed by its count.
std::string FrameList(const std::vector<std::string>& files) {
    std::string bytes(sizeof(FrameRecord) * kMaxFrames, '\0');
    for (size_t i = 0; i < files.size(); ++i) {
        bytes.replace(i * sizeof(FrameRecord) + offsetof(FrameRecord, file), files[i].size(),
                      files[i]);
    }
    return bytes + std::to_string(files.size());
}

TEST_F(FaultTest, FolderDeletedWhilePlayingIsReportedAtTheReloadAndALowerOneTaken) {
    tree_.MakeFrames(1, FrameRange(3));
    tree_.MakeFrames(2, FrameRange(5));
    RunKey('2');
    ASSERT_EQ(MaxCount, 5);
    frame_no = 4;
    DisplayStep();
    std::filesystem::remove_all(tree_.root() + "/S002");
    const std::string out = RunKey('r');
    EXPECT_TRUE(Contains(out, "---> Empty folder is specified!\n")) << out;
    EXPECT_EQ(folder_index, 0);
    EXPECT_EQ(MaxCount, 3);
    EXPECT_TRUE(frame_cache[4].empty());
    DisplayStep();  // plays on from the lower folder
    EXPECT_EQ(FrameData[0].loaded, 1);
    EXPECT_STREQ(FrameData[0].file, "../S001/clip_00000.jpg");
}

TEST_F(FaultTest, FilesRewrittenWhileRunningAreReadAnewAtTheNextReload) {
    tree_.MakeFrames(1, FrameRange(4));
    tree_.WriteFile("frame_data0001.dat", FrameList({"../S001/clip_00000.jpg"}));
    tree_.WriteFile("glt_env0001.dat", "2\n");
    RunKey('r');
    EXPECT_EQ(MaxCount, 1);
    RunKey(kKeySpace);
    EXPECT_EQ(sample_step, 2);

    tree_.WriteFile("frame_data0001.dat",
                    FrameList({"../S001/clip_00003.jpg", "../S001/clip_00002.jpg"}));
    tree_.WriteFile("glt_env0001.dat", "8\n");
    RunKey('r');
    EXPECT_EQ(MaxCount, 2);
    EXPECT_STREQ(FrameData[0].file, "../S001/clip_00003.jpg");
    RunKey(kKeySpace);
    EXPECT_EQ(sample_step, 8);
}

TEST_F(FaultTest, CameraLogThatCannotBeWrittenFailsSilentlyAndPlayGoesOn) {
    struct Case {
        const char* name;
        bool log_is_a_file;
    };
    for (const Case& c : {Case{"missing", false}, Case{"a file", true}}) {
        SCOPED_TRACE(c.name);
        MakeFolder(3);
        if (c.log_is_a_file) tree_.WriteFile("../log", "not a folder");
        clip::UseSource(clip::WriteVideo(tree_.root() + "/camera.avi",
                                         std::vector<cv::Mat>(30, clip::Flat(90))));
        ASSERT_TRUE(CameraOpen(0));
        camera_on = 1;
        camera_log_mode = 1;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        for (int cycle = 0; cycle < 5; ++cycle) ASSERT_TRUE(RunCycle());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(camera_on, 1);
        EXPECT_EQ(camera_log_mode, 1);
        EXPECT_EQ(tree_.Exists("../log"), c.log_is_a_file);
        CameraRelease();
        std::filesystem::remove(tree_.root() + "/log");
    }
}

// A child that runs as the user nobody: 0 when body succeeded, 77 when the user cannot be taken.
constexpr uid_t kNobody = 65534;
constexpr int kCannotDrop = 77;

template <typename Body>
int AsNobody(Body body) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) {
            _exit(kCannotDrop);
        }
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SharedBlockOfAnotherUser, CannotBeOpened) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    TestBlockName block;
    OpenSharedBlock();
    const std::string object = "/" + block.name();
    const int opened = AsNobody([&object] {
        const int fd = shm_open(object.c_str(), O_RDWR | O_CREAT, 0600);
        return fd < 0 && errno == EACCES ? 0 : 1;
    });
    if (opened == kCannotDrop) GTEST_SKIP() << "cannot change to the user nobody here";
    EXPECT_EQ(opened, 0) << "the user nobody opened a block of root";
}

}  // namespace
