// Two computers in one: copies of the real player with separate shared blocks, linked only by OSC
// over UDP on 127.0.0.1, and a show-control desk played by a test socket.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/banners.hpp"
#include "support/osc_peer.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

namespace {

constexpr int kFirstCameraWord = 1;  // shared-block slot of CamChan 0

void StartShowingFrame0(Player& player, int frames) {
    player.MakeFrames(1, frames);
    player.MakeOwnPictures();
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output() << player.Errors();
    ASSERT_TRUE(ShowsFrame(player, 0));
}

// Waits until word `word` of block satisfies check.
template <typename Check>
bool BlockWord(const std::string& block, int word, Check check) {
    for (int tries = 0; tries < 200; ++tries) {
        if (check(Player::ReadSharedWord(block, word))) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// True once a status message reports folder, frame (any when -1) and frames, camera off.
bool StatusReports(const OscPeer& desk, int folder, int frame, int frames) {
    for (int tries = 0; tries < 100; ++tries) {
        lo_message status = desk.Receive("/zeltran/status");
        if (status == nullptr) return false;
        lo_arg** fields = lo_message_get_argv(status);
        const bool match = fields[0]->i == folder && (frame < 0 || fields[1]->i == frame) &&
                           fields[2]->i == frames && fields[3]->i == 0;
        lo_message_free(status);
        if (match) return true;
    }
    return false;
}

TEST(NetworkPlayback, ACopyWithoutCameraPlaysFromTheMotionOfAnotherComputer) {
    const int port = FreeUdpPort();
    Player receiver;
    receiver.WriteFile("SetNetwork.txt", "listen " + std::to_string(port) + "\nexpire 500\n");
    StartShowingFrame0(receiver, 12);
    ASSERT_TRUE(receiver.WaitForOutput("SET: listen = " + std::to_string(port) + "\n"));

    Player sender;
    sender.WriteFile("SetCamera3.txt", "0 0 0 1 0\n");
    sender.WriteFile("SetNetwork.txt", "send 127.0.0.1:" + std::to_string(port) + "\n");
    std::vector<cv::Mat> pictures;
    for (int i = 0; i < 3000; ++i) pictures.push_back(clip::Flat(i % 2 ? 255 : 0));
    sender.CameraSource(clip::WriteVideo(sender.root() + "/camera.avi", pictures));
    StartShowingFrame0(sender, 20);
    sender.Key("q");

    const std::string& block = receiver.SharedBlockName();
    EXPECT_TRUE(BlockWord(block, kFirstCameraWord, [](int32_t v) { return v > 1000000; }));
    EXPECT_TRUE(ShowsFrame(receiver, 11));

    // The sender ends: its slot on the receiving side expires and the total follows.
    sender.Signal(SIGTERM);
    EXPECT_EQ(sender.WaitExit(), 0);
    EXPECT_TRUE(BlockWord(block, kFirstCameraWord, [](int32_t v) { return v == 0; }));
    EXPECT_EQ(Player::ReadSharedWord(block, 0), 0);
    receiver.Signal(SIGTERM);
    EXPECT_EQ(receiver.WaitExit(), 0);
}

TEST(NetworkControl, KeysFoldersAndMotionFromADeskAndTheStatusBack) {
    const int port = FreeUdpPort();
    OscPeer desk("::1");  // the status goes out over IPv6
    Player player;
    player.WriteFile("SetNetwork.txt", "listen " + std::to_string(port) + "\nsend [::1]:" +
                                           std::to_string(desk.port()) + "\nstatus 0.1\n");
    player.MakeFrames(2, 5);
    player.MakeFrames(3, 5);
    StartShowingFrame0(player, 30);
    const auto send = [&](const char* path, const char* types, auto value) {
        OscPeer("127.0.0.1").Send("127.0.0.1", port, path, types, value);
    };

    send("/zeltran/key", "i", 'x');
    EXPECT_TRUE(ShowsFrame(player, 1));
    EXPECT_TRUE(StatusReports(desk, 1, 1, 30));

    send("/zeltran/key", "s", "2");
    EXPECT_TRUE(player.WaitForOutput("* Changed Contents Folder to [ S002 ]\n"));
    send("/zeltran/folder", "i", 3);
    EXPECT_TRUE(player.WaitForOutput("* Changed Contents Folder to [ S003 ]\n"));
    EXPECT_TRUE(StatusReports(desk, 3, -1, 5));

    // Cue and visual tools send floats: this moves the picture to the last frame of S003.
    OscPeer("127.0.0.1").Send("127.0.0.1", port, "/zeltran/motion", "ff", 3.0, 2.5e6);
    EXPECT_TRUE(ShowsFrame(player, 4));

    send("/zeltran/key", "i", 'i');  // the web-camera report gains the message counts
    EXPECT_TRUE(player.WaitForOutput("*[NET received=5 ignored=0 refused=0 sent="));
    send("/zeltran/key", "i", 27);
    send("/zeltran/key", "i", 27);
    EXPECT_EQ(player.WaitExit(), 0);
    EXPECT_NE(player.Output().find(kPauseBanner), std::string::npos);
    EXPECT_NE(player.Output().find(kFarewellBanner), std::string::npos);
}

}  // namespace
