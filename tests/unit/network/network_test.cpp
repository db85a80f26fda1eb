// Received motion in the real shared block at the key poll, with expiry on the scripted clock.
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

// Polls until word `word` of the block holds value.
bool BlockWordBecomes(int word, int32_t value) {
    for (int tries = 0; tries < 200; ++tries) {
        ApplyNetworkInput();
        ReadSharedBlock();
        if (SI[word] == value) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(NetworkPoll, RemoteMotionFillsItsSlotUntilItExpiresOrTheCopyEnds) {
    TestBlockName block;
    TempTree tree;
    const int port = FreeUdpPort();
    tree.WriteFile("SetNetwork.txt", "listen " + std::to_string(port) + "\nexpire 500\n");
    fake::step_micros = 0;
    OpenSharedBlock();
    testing::internal::CaptureStdout();
    StartNetwork();
    testing::internal::GetCapturedStdout();
    PublishSlot(2, 100);  // a local camera copy
    OscPeer peer;
    peer.Send("127.0.0.1", port, "/zeltran/motion", "ii", 5, 777);
    ASSERT_TRUE(BlockWordBecomes(6, 777));
    EXPECT_EQ(SI[kDiffSumWord], 877);

    // This copy's own camera has the last word on its slot.
    camera_on = 1;
    CamChan = 5;
    peer.Send("127.0.0.1", port, "/zeltran/motion", "ii", 5, 999);
    while (CountsOfReceiving().ignored == 0) ApplyNetworkInput();
    camera_on = 0;
    fake::now_micros += 500000;
    EXPECT_TRUE(BlockWordBecomes(6, 777));
    fake::now_micros += 1;
    EXPECT_TRUE(BlockWordBecomes(6, 0));
    EXPECT_EQ(SI[kDiffSumWord], 100);

    peer.Send("127.0.0.1", port, "/zeltran/motion", "ii", 9, 55);
    ASSERT_TRUE(BlockWordBecomes(10, 55));
    StopNetwork();
    ReadSharedBlock();
    EXPECT_EQ(SI[10], 0);
    EXPECT_EQ(SI[kDiffSumWord], 100);
}

}  // namespace
