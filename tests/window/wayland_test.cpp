// The player on a Wayland desktop: a private Weston with SDL's Wayland driver and no X display
// for the player. Weston runs as a window on the test's Xvfb, because its headless backend has
// no seat and Debian 12's SDL 2.26 crashes in its video start-up without one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <opencv2/core.hpp>
#include <sstream>
#include <string>
#include <thread>

#include "support/temp_tree.hpp"
#include "window/harness.hpp"

namespace {

constexpr int kOutputWidth = 640;  // Weston's output, a window at the top left of the Xvfb screen
constexpr int kOutputHeight = 480;
constexpr char kSocket[] = "zeltran-test";
constexpr int kTotalWord = 0;         // the shared block's motion sum
constexpr int32_t kMoving = 1000000;  // far above the threshold of 11500

// A Weston compositor with the desktop shell (panel and background, so a plain window is told
// apart from a fullscreen one) on the test's X display.
class Weston {
  public:
    explicit Weston(const std::string& runtime) : runtime_(runtime) {
        std::filesystem::create_directories(runtime_);
        chmod(runtime_.c_str(), 0700);
        pid_ = fork();
        if (pid_ == 0) {
            setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
            const std::string log = runtime_ + "/weston.log";
            execlp("weston", "weston", "--backend=x11-backend.so", "--use-pixman", "--no-config",
                   "--idle-time=0", "--width=640", "--height=480", "--socket=zeltran-test",
                   ("--log=" + log).c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Weston() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;

    bool Ready() const {
        for (int i = 0; i < 200; ++i) {
            if (std::filesystem::exists(runtime_ + "/" + kSocket)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

  private:
    std::string runtime_;
    pid_t pid_ = -1;
};

// The number of pictures shown so far, from the stats file's last line ("shown COUNT ...").
long PicturesShown(const std::string& stats) {
    std::ifstream in(stats);
    std::string word;
    long count = 0, last = 0;
    while (in >> word) {
        if (word == "shown" && in >> count) last = count;
    }
    return last;
}

TEST(Wayland, PlaysFullscreenWithoutPointerAndEndsOnSigterm) {
    Player player;
    const Weston weston(player.root() + "/runtime");
    ASSERT_TRUE(weston.Ready()) << "Weston did not start";
    player.MakeFrames(1, 60, 160, 120);  // 4:3 like the output: fullscreen leaves no bars
    player.WriteFile("SetDisplay.txt", "1 0 1\n");
    const std::string stats = player.root() + "/stats.txt";
    player.Environment("ZELTRAN_STATS_FILE", stats);
    player.Environment("SDL_VIDEODRIVER", "wayland");
    player.Environment("XDG_RUNTIME_DIR", player.root() + "/runtime");
    player.Environment("WAYLAND_DISPLAY", kSocket);
    player.Environment("DISPLAY", "");
    player.Environment("WAYLAND_DEBUG", "client");  // the protocol log shows the cursor request
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output() << player.Errors();

    // Fullscreen: the frame covers Weston's whole output, the panel strip at its top included.
    cv::Mat output;
    bool covered = false;
    for (int i = 0; i < 50 && !covered; ++i) {
        const cv::Mat screen = player.Screenshot();
        if (screen.cols < kOutputWidth || screen.rows < kOutputHeight) break;
        output = screen(cv::Rect(0, 0, kOutputWidth, kOutputHeight));
        covered = ColourNear(CentreColour(output), FrameColour(0)) &&
                  ColourNear(cv::mean(output(cv::Rect(0, 0, kOutputWidth, 24))), FrameColour(0));
    }
    EXPECT_TRUE(covered) << "Weston's output does not show frame 0 fullscreen";

    // Pictures are presented on Wayland: motion from the shared block runs the frames forward.
    Player::WriteSharedWord(player.SharedBlockName(), kTotalWord, kMoving);
    for (int i = 0; i < 100 && PicturesShown(stats) < 20; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_GE(PicturesShown(stats), 20);

    // Hidden pointer: moved over the output, the player's surface asks for no cursor image.
    RunCommand("xdotool mousemove 300 200 sleep 0.3 mousemove 320 240 2>/dev/null");
    EXPECT_TRUE(player.WaitForErrors("wl_pointer@", 10.0)) << "the pointer never entered";
    EXPECT_TRUE(player.WaitForErrors(".set_cursor(", 10.0)) << "no cursor request";
    std::istringstream log(player.Errors());
    for (std::string line; std::getline(log, line);) {
        if (line.find(".set_cursor(") != std::string::npos) {
            EXPECT_NE(line.find(", nil, "), std::string::npos) << line;
        }
    }

    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0) << player.Errors();
}

}  // namespace
