// Opening hours met by the whole player: its wall clock moved by libfaketime through a timestamp
// file the test rewrites (the clock runs on from each new value, as a clock set by the network
// would), the window and the X server's screen saver looked at from outside.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/banners.hpp"
#include "support/http_client.hpp"
#include "support/osc_peer.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

int XScreenSaverOn();  // x11_power.cpp: 1 on, 0 off, -1 no screen saver extension
int XDpmsOff();        // 1 off, 0 on, -1 the server has no DPMS (Xvfb)

namespace {

const std::string kCameraOn = "Done.\n" + kCameraOnBanner + "\n";
const std::string kCameraOff =
    "TURNING OFF THE CAMERA DEVICE. WAIT A MOMENT...\nDone.\n" + kCameraOffBanner + "\n";

std::string FakeTimeLibrary() {
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib")) {
        const std::string path = entry.path().string() + "/faketime/libfaketime.so.1";
        if (std::filesystem::exists(path)) return path;
    }
    return "";
}

// "YYYY-MM-DD HH:MM:SS" of a day from tomorrow on (UTC) at time: always after the build, so the
// clock counts as set.
std::string DaysAhead(int days, const char* time) {
    const std::time_t later = std::time(nullptr) + days * 86400;
    std::tm parts{};
    gmtime_r(&later, &parts);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &parts);
    return std::string(date) + " " + time;
}

class FakeClock {
  public:
    // The player's wall clock starts at start (UTC, its time zone UTC).
    FakeClock(Player& player, const std::string& start)
        : player_(player), file_(player.work() + "/faketime") {
        const std::string library = FakeTimeLibrary();
        EXPECT_FALSE(library.empty()) << "libfaketime is missing (Debian package faketime)";
        Set(start);
        player.Environment("LD_PRELOAD", library);
        player.Environment("FAKETIME_TIMESTAMP_FILE", file_);
        player.Environment("FAKETIME_CACHE_DURATION", "1");
        player.Environment("TZ", "UTC");
    }
    // Sets the clock: the player reads it within a second or two.
    void Set(const std::string& moment) { player_.WriteFile("faketime", "@" + moment + "\n"); }

  private:
    Player& player_;
    std::string file_;
};

// The closing line names the next morning by its weekday: "closed until Thu 08:00".
bool ClosedUntilMorning(const std::string& output) {
    const size_t at = output.find("SCHEDULE: closed until ");
    return at != std::string::npos && output.compare(at + 26, 7, " 08:00\n") == 0;
}

bool Black(const cv::Mat& window) {
    return ColourNear(CentreColour(window), cv::Scalar(0, 0, 0), 8.0);
}

void Quit(Player& player) {
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(ScheduleWindow, ClosingSwitchesCameraAndDisplayOffAndAKeyOpensForTenMinutes) {
    Player player;
    FakeClock clock(player, DaysAhead(1, "12:00:00"));
    player.WriteFile("SetSchedule.txt", "open daily 08:00-18:00\nclosed 2001-01-01\n");
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < 10; ++i) pictures.push_back(clip::Flat(i % 2 ? 255 : 0));
    player.CameraSource(clip::WriteVideo(player.root() + "/camera.avi", pictures));
    player.Environment("ZELTRAN_CAMERA_LOOP", "1");
    player.WriteFile("GLT_THRESHOLD.dat", "2000000000");  // motion is measured but moves nothing
    StartOnFrames(player, 41);
    ASSERT_TRUE(
        player.WaitForOutput("SET: open   = daily 08:00-18:00\n"
                             "SET: closed = 2001-01-01\n"))
        << player.Output();
    ASSERT_TRUE(player.WaitForOutput("SCHEDULE: open until 18:00\n")) << player.Output();
    player.Key("q");
    ASSERT_TRUE(player.WaitForOutput(kCameraOn)) << player.Output();
    player.Key("percent");  // frame 20
    ASSERT_TRUE(ShowsFrame(player, 20));
    EXPECT_GT(Player::ReadSharedWord(player.SharedBlockName(), 1), 0) << "the camera measures";

    clock.Set(DaysAhead(1, "17:59:58"));
    ASSERT_TRUE(player.WaitForOutput("SCHEDULE: closed until ")) << player.Output();
    EXPECT_TRUE(ClosedUntilMorning(player.Output())) << player.Output();
    EXPECT_TRUE(player.WaitForOutput(kCameraOff)) << player.Output();
    EXPECT_TRUE(player.WaitForOutput(
        "SCHEDULE: the display is blanked by the X screen saver while closed\n"));
    EXPECT_TRUE(player.WaitForPicture(Black));
    EXPECT_EQ(XScreenSaverOn(), 1);
    // The camera is closed: its slot of the shared block says no motion.
    EXPECT_EQ(Player::ReadSharedWord(player.SharedBlockName(), 1), 0);

    player.Key("x");
    ASSERT_TRUE(player.WaitForOutput("SCHEDULE: opened by a key for 10 minutes, until 18:10\n"))
        << player.Output();
    EXPECT_TRUE(player.WaitForOutput(kCameraOn, 10.0, 2)) << player.Output();
    EXPECT_TRUE(ShowsFrame(player, 20)) << "the key opens and runs no command";
    EXPECT_EQ(XScreenSaverOn(), 0);
    Quit(player);
}

TEST(ScheduleWindow, AClockSetForwardClosesAndTheMorningOpensWithTheDisplayBack) {
    Player player;
    FakeClock clock(player, DaysAhead(1, "12:00:00"));
    player.WriteFile("SetSchedule.txt", "open daily 08:00-18:00\n");
    // The outside sees it too: status.json over HTTP and the OSC status of a desk.
    const OscPeer desk;
    const int http_port = FreeTcpPort();
    player.WriteFile("SetNetwork.txt", "send 127.0.0.1:" + std::to_string(desk.port()) +
                                           "\nstatus 0.2\nhttp " + std::to_string(http_port) +
                                           "\n");
    StartOnFrames(player, 41);
    ASSERT_TRUE(player.WaitForOutput("SCHEDULE: open until 18:00\n")) << player.Output();

    clock.Set(DaysAhead(1, "20:00:00"));
    ASSERT_TRUE(player.WaitForOutput("SCHEDULE: closed until ")) << player.Output();
    EXPECT_TRUE(ClosedUntilMorning(player.Output())) << player.Output();
    EXPECT_TRUE(player.WaitForPicture(Black));
    EXPECT_EQ(XScreenSaverOn(), 1);
    if (XDpmsOff() >= 0) {
        EXPECT_EQ(XDpmsOff(), 1) << "a server with DPMS: the monitor is off";
    }
    const std::string json = HttpBody(HttpGet(http_port, "/status.json"));
    EXPECT_NE(json.find("\"open\":false,\"next_change\":\"" +
                        DaysAhead(2, "08:00:00").substr(0, 10) + "T08:00:00+00:00\"}"),
              std::string::npos)
        << json;
    // 12 hours to the opening, less the seconds the test has taken.
    bool told = false;
    for (int tries = 0; tries < 20 && !told; ++tries) {
        lo_message schedule = desk.Receive("/zeltran/schedule");
        if (schedule == nullptr) break;
        lo_arg** fields = lo_message_get_argv(schedule);
        told = fields[0]->i == 0 && fields[1]->i > 11 * 3600 && fields[1]->i <= 12 * 3600;
        lo_message_free(schedule);
    }
    EXPECT_TRUE(told) << "/zeltran/schedule 0 SECONDS";

    // No key, no pointer: the morning brings the display and the picture back.
    clock.Set(DaysAhead(2, "07:59:58"));
    ASSERT_TRUE(player.WaitForOutput("SCHEDULE: open until 18:00\n", 20.0, 2)) << player.Output();
    EXPECT_TRUE(ShowsFrame(player, 0));
    EXPECT_EQ(XScreenSaverOn(), 0);
    EXPECT_LE(XDpmsOff(), 0);
    Quit(player);
}

TEST(ScheduleWindow, WithoutTheFileNothingIsSaidAndBadLinesAreNamed) {
    Player player;
    StartOnFrames(player, 10);
    EXPECT_EQ(player.Output().find("SCHEDULE"), std::string::npos);
    Quit(player);

    Player bad;
    bad.WriteFile("SetSchedule.txt", "open weekdays 10:00-18:00\nopen mon 10:00\n");
    StartOnFrames(bad, 10);
    EXPECT_TRUE(bad.WaitForErrors(
        "[ NG ] SetSchedule.txt line 1 skipped: days are mon..sun, a range (mon-fri), a list "
        "(sat,sun) or daily\n"
        "[ NG ] SetSchedule.txt line 2 skipped: times are HH:MM-HH:MM, 00:00 to 24:00\n"))
        << bad.Errors();
    EXPECT_TRUE(bad.WaitForOutput("SET: schedule = none (no open or closed line): always open\n"));
    Quit(bad);
}

}  // namespace
