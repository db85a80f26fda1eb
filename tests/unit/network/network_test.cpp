// The network at the key poll: received motion in the real shared block (expiry on the scripted
// clock), and the player's own messages on real loopback sockets.
#include "network/network.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "block/shared_block.hpp"
#include "common/state.hpp"
#include "fakes/fake_clock.hpp"
#include "support/osc_peer.hpp"
#include "support/temp_tree.hpp"
#include "unit/shell/test_block.hpp"

namespace {

// Applies received input until word of the block holds value.
bool BlockWordBecomes(int word, int32_t value) {
    for (int tries = 0; tries < 200; ++tries) {
        ApplyNetworkInput();
        ReadSharedBlock();
        if (SI[word] == value) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

class NetworkPoll : public testing::Test {
  protected:
    void SetUp() override {
        fake::step_micros = 0;
        OpenSharedBlock();
    }
    void Start(const std::string& file) {
        tree_.WriteFile("SetNetwork.txt", file);
        testing::internal::CaptureStdout();
        StartNetwork();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(NetworkInUse());
    }
    TestBlockName block_;
    TempTree tree_;
};

TEST_F(NetworkPoll, RemoteMotionFillsItsSlotUntilItExpires) {
    const int port = FreeUdpPort();
    Start("listen " + std::to_string(port) + "\nexpire 500\n");
    PublishSlot(2, 100);  // a local camera copy
    OscPeer sender;
    sender.Send("127.0.0.1", port, "/zeltran/motion", IntsMessage(5, 777));
    ASSERT_TRUE(BlockWordBecomes(6, 777));
    EXPECT_EQ(SI[kDiffSumWord], 877);

    // This copy's own camera has the last word on its slot.
    camera_on = 1;
    CamChan = 5;
    sender.Send("127.0.0.1", port, "/zeltran/motion", IntsMessage(5, 999));
    while (CountsOfReceiving().ignored == 0) ApplyNetworkInput();
    ReadSharedBlock();
    EXPECT_EQ(SI[6], 777);
    camera_on = 0;

    fake::now_micros += 500000;
    ApplyNetworkInput();
    ReadSharedBlock();
    EXPECT_EQ(SI[6], 777);
    fake::now_micros += 1;
    ApplyNetworkInput();
    ReadSharedBlock();
    EXPECT_EQ(SI[6], 0);
    EXPECT_EQ(SI[kDiffSumWord], 100);

    // At the end the slots the network filled go back to 0.
    sender.Send("127.0.0.1", port, "/zeltran/motion", IntsMessage(9, 55));
    ASSERT_TRUE(BlockWordBecomes(10, 55));
    StopNetwork();
    ReadSharedBlock();
    EXPECT_EQ(SI[10], 0);
    EXPECT_EQ(SI[kDiffSumWord], 100);
}

TEST_F(NetworkPoll, MotionAndStatusGoToEveryTargetAtMostAtTheirRate) {
    OscPeer v4("127.0.0.1");
    OscPeer v6("::1");
    Start("send 127.0.0.1:" + std::to_string(v4.port()) +
          "\nsend [::1]:" + std::to_string(v6.port()) + "\nstatus 2\n");
    camera_on = 1;
    CamChan = 7;
    DifferenceSum = 4242;
    folder_index = 1;
    shown_frame_no = 12.7;
    MaxCount = 40;
    f_rate = 59.5;
    ServeNetwork();
    DifferenceSum = 1;
    ServeNetwork();  // the same instant: neither message again
    for (OscPeer* peer : {&v4, &v6}) {
        lo_message motion = peer->Receive("/zeltran/motion");
        ASSERT_NE(motion, nullptr);
        EXPECT_STREQ(lo_message_get_types(motion), "ii");
        EXPECT_EQ(lo_message_get_argv(motion)[0]->i, 7);
        EXPECT_EQ(lo_message_get_argv(motion)[1]->i, 4242);
        lo_message_free(motion);
        lo_message status = peer->Receive("/zeltran/status");
        ASSERT_NE(status, nullptr);
        EXPECT_STREQ(lo_message_get_types(status), "iiiif");
        lo_arg** fields = lo_message_get_argv(status);
        EXPECT_EQ(fields[0]->i, 2);
        EXPECT_EQ(fields[1]->i, 12);
        EXPECT_EQ(fields[2]->i, 40);
        EXPECT_EQ(fields[3]->i, 1);
        EXPECT_FLOAT_EQ(fields[4]->f, 59.5f);
        lo_message_free(status);
        EXPECT_EQ(peer->Receive("/zeltran/motion", 0.3), nullptr);
    }
    fake::now_micros += 1000000 / 60 + 1;
    ServeNetwork();
    lo_message next = v4.Receive("/zeltran/motion");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(lo_message_get_argv(next)[1]->i, 1);
    lo_message_free(next);
    StopNetwork();
}

}  // namespace
