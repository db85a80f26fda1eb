// The service notification protocol of the real player, heard on a datagram socket the test
// binds, and a notification socket that cannot be reached.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "window/harness.hpp"

namespace {

// NOTIFY_SOCKET as a service manager binds it: every line received is kept. Read all the time,
// so that the player never waits for room in the socket's queue.
class NotifySocket {
  public:
    explicit NotifySocket(const std::string& path) : path_(path) {
        socket_ = socket(AF_UNIX, SOCK_DGRAM, 0);
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
                if (got <= 0) continue;
                std::istringstream message(std::string(buffer, static_cast<size_t>(got)));
                const std::lock_guard<std::mutex> hold(mutex_);
                for (std::string line; std::getline(message, line);) lines_.push_back(line);
            }
        });
    }
    ~NotifySocket() {
        stop_ = true;
        reader_.join();
        close(socket_);
        unlink(path_.c_str());
    }

    std::vector<std::string> Lines() {
        const std::lock_guard<std::mutex> hold(mutex_);
        return lines_;
    }
    int Count(const std::string& line) {
        int count = 0;
        for (const std::string& seen : Lines()) count += seen == line;
        return count;
    }
    bool WaitFor(const std::string& line, int times = 1) {
        for (int i = 0; i < 200 && Count(line) < times; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return Count(line) >= times;
    }

  private:
    std::string path_;
    int socket_ = -1;
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
    // Not before the contents were loaded and the cycle began.
    EXPECT_NE(player.Output().find(kHelpEnd), std::string::npos);
    EXPECT_TRUE(ShowsFrame(player, 0));
    EXPECT_TRUE(manager.WaitFor("STATUS=S001 frame 0 of 3, camera off"));

    player.Key("Escape");
    ASSERT_TRUE(player.WaitForOutput(" OOOO    OOO   O   O   OOOO  OOOOO  O \n"));
    const int pings = manager.Count("WATCHDOG=1");
    EXPECT_TRUE(manager.WaitFor("WATCHDOG=1", pings + 5));  // the pause goes on feeding it
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

}  // namespace
