// The service notification protocol of the real player, heard on a datagram socket the test
// binds, and a notification socket that cannot be reached.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/http_client.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

namespace {

// NOTIFY_SOCKET as a service manager binds it, read all the time (the player would otherwise
// wait for room in the socket's queue); every line received is kept.
class NotifySocket {
  public:
    explicit NotifySocket(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const timeval wake{0, 100000};
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &wake, sizeof wake);
        reader_ = std::thread([this] {
            char buffer[4096];
            while (!stop_) {
                const ssize_t got = recv(socket_, buffer, sizeof buffer, 0);
                std::istringstream message(std::string(buffer, got > 0 ? got : 0));
                const std::lock_guard<std::mutex> hold(mutex_);
                for (std::string line; std::getline(message, line);) lines_.push_back(line);
            }
        });
    }
    ~NotifySocket() {
        stop_ = true;
        reader_.join();
        close(socket_);
    }
    int Count(const std::string& line) {
        const std::lock_guard<std::mutex> hold(mutex_);
        return static_cast<int>(std::count(lines_.begin(), lines_.end(), line));
    }
    bool WaitFor(const std::string& line, int times = 1) {
        for (int i = 0; i < 200 && Count(line) < times; ++i) usleep(100000);
        return Count(line) >= times;
    }

  private:
    int socket_ = socket(AF_UNIX, SOCK_DGRAM, 0);
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> lines_;
    std::thread reader_;
};

TEST(ServiceNotification, ReadyAfterTheFirstPictureWatchdogInThePauseStoppingAtTheQuit) {
    Player player;
    player.MakeOwnPictures();
    player.MakeFrames(1, 3);
    NotifySocket manager(player.root() + "/notify");
    player.Environment("NOTIFY_SOCKET", player.root() + "/notify");
    player.Environment("WATCHDOG_USEC", "400000");
    player.Start();
    ASSERT_TRUE(manager.WaitFor("READY=1"));
    EXPECT_NE(player.Output().find(kHelpEnd), std::string::npos);  // not before the cycle began
    EXPECT_TRUE(ShowsFrame(player, 0));
    EXPECT_TRUE(manager.WaitFor("STATUS=S001 frame 0 of 3, camera off"));

    player.Key("Escape");
    ASSERT_TRUE(player.WaitForOutput(" OOOO    OOO   O   O   OOOO  OOOOO  O \n"));
    EXPECT_TRUE(manager.WaitFor("WATCHDOG=1", manager.Count("WATCHDOG=1") + 5));
    EXPECT_EQ(manager.Count("STOPPING=1"), 0);
    player.Key("Escape");
    EXPECT_EQ(player.WaitExit(), 0);
    EXPECT_EQ(manager.Count("STOPPING=1"), 1);
    EXPECT_EQ(manager.Count("READY=1"), 1);
}

TEST(ServiceNotification, AnUnreachableSocketIsReportedOnceAndPlaybackGoesOn) {
    Player player;
    player.MakeFrames(1, 3);
    player.WriteFile("not-a-socket", "kept");
    player.Environment("NOTIFY_SOCKET", player.work() + "/not-a-socket");
    player.Environment("WATCHDOG_USEC", "200000");
    player.Start();
    ASSERT_TRUE(ShowsFrame(player, 0));
    player.Key("x");
    EXPECT_TRUE(ShowsFrame(player, 1));
    const std::string warning = "WARNING: The service manager cannot be told";
    const std::string errors = player.Errors();
    EXPECT_NE(errors.find(warning), std::string::npos) << errors;
    EXPECT_EQ(errors.find(warning), errors.rfind(warning)) << errors;
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(ServiceNotification, ACameraStuckOnOnePictureIsStaleInTheStatusLineAndThePage) {
    Player player;
    player.MakeOwnPictures();
    player.MakeFrames(1, 3);
    // The same picture over and over: the camera is read, but nothing new comes.
    player.CameraSource(
        clip::WriteVideo(player.root() + "/camera.avi", std::vector<cv::Mat>(900, clip::Flat(90))));
    const int port = FreeTcpPort();
    player.WriteFile("SetNetwork.txt", "http " + std::to_string(port) + "\n");
    NotifySocket manager(player.root() + "/notify");
    player.Environment("NOTIFY_SOCKET", player.root() + "/notify");
    player.Start();
    ASSERT_TRUE(manager.WaitFor("READY=1"));
    player.Key("q");
    // The first picture, against black, moves the picture once; then nothing new comes.
    EXPECT_TRUE(manager.WaitFor("STATUS=S001 frame 1 of 3, camera stale"));
    const std::string json = HttpBody(HttpGet(port, "/status.json"));
    EXPECT_NE(json.find("\"camera\":\"stale\",\"camera_fps\":0.0,"), std::string::npos) << json;
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

}  // namespace
