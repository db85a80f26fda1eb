// Faults of a long unattended run, met by the whole player: a camera that stops, frame files that
// cannot be decoded, a shared block that belongs to another user.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/banners.hpp"
#include "support/temp_tree.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

namespace {

TEST(Faults, CameraThatStopsIsSwitchedOffAndTheKeysGoOn) {
    Player player;
    player.MakeFrames(1, 101);
    player.MakeOwnPictures();
    player.CameraSource(
        clip::WriteVideo(player.root() + "/camera.avi", std::vector<cv::Mat>(15, clip::Flat(90))));
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output();
    ASSERT_TRUE(ShowsFrame(player, 0));
    player.Key("q");
    EXPECT_TRUE(
        player.WaitForOutput("cvQueryFrame() failed in GLT_Capture().\n"
                             "\nNOW, TURNING OFF THE CAMERA DEVICE. WAIT A MOMENT...\nDone.\n\n" +
                             kCameraOffBanner + "\n"))
        << player.Output();
    player.Key("percent");
    EXPECT_TRUE(ShowsFrame(player, 50));
    player.Key("Escape");
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(Faults, FrameThatCannotBeDecodedEndsThePlayerNamingTheFile) {
    const std::string whole_jpeg = [] {
        TempTree tree;
        WriteJpeg(tree.work() + "/frame.jpg", 160, 120, FrameColour(0));
        return tree.ReadFile("frame.jpg");
    }();
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"not a picture", "GIF89a but not really"},
        {"cut inside its header", whole_jpeg.substr(0, 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player player;
        player.MakeFrames(1, 3);
        player.WriteFile("../S001/clip_00000.jpg", c.bytes);
        player.Start();
        EXPECT_EQ(player.WaitExit(), 1);
        EXPECT_NE(player.Errors().find(
                      "ERROR: Cannot decode the frame picture [ ../S001/clip_00000.jpg ]\n"),
                  std::string::npos)
            << player.Errors();
    }
}

TEST(Faults, PlayerOfAnotherUserCannotOpenTheSharedBlock) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    const std::string name = "zeltran-window-nobody-" + std::to_string(getpid());
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 1024), 0);
    close(fd);

    int out[2];
    ASSERT_EQ(pipe(out), 0);
    constexpr int kCannotDrop = 77;
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(out[1], STDERR_FILENO);
        const int null_in = open("/dev/null", O_RDONLY);
        dup2(null_in, STDIN_FILENO);
        constexpr uid_t kNobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0 ||
            chdir("/tmp") != 0) {
            _exit(kCannotDrop);
        }
        const std::string shm = "ZELTRAN_SHM_NAME=" + name;
        char* const argv[] = {const_cast<char*>(ZELTRAN_BINARY), nullptr};
        char* const envp[] = {const_cast<char*>("PATH=/usr/local/bin:/usr/bin:/bin"),
                              const_cast<char*>(shm.c_str()), nullptr};
        execve(ZELTRAN_BINARY, argv, envp);
        _exit(127);
    }
    close(out[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;) output.append(buffer, got);
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    shm_unlink(("/" + name).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotDrop) GTEST_SKIP() << "cannot change to the user nobody";
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(output.find("共有メモリオープン失敗\n"), std::string::npos) << output;
}

}  // namespace
