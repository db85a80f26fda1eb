// liblo's server thread on a real loopback port, fed by real UDP senders.
#include "network/receive.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "common/state.hpp"
#include "support/osc_peer.hpp"

namespace {

NetworkSettings Listening(int port, const char* allow = nullptr, int prefix = 0) {
    NetworkSettings settings;
    settings.listen_port = port;
    if (allow) {
        EXPECT_TRUE(ParseIpAddress(allow, &settings.allowed[0].address));
        settings.allowed[0].prefix = prefix;
        settings.allow_count = 1;
    }
    return settings;
}

// Waits until messages were counted, then stops the thread.
void StopAfter(uint64_t messages) {
    for (int tries = 0; tries < 200; ++tries) {
        const ReceiveCounts counts = CountsOfReceiving();
        if (counts.received + counts.ignored + counts.refused >= messages) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    StopReceiving();
}

TEST(Receiving, OnlySendersTheRulesAllowAreHeard) {
    const int port = FreeUdpPort();
    OscPeer other_address("127.0.0.2");
    ASSERT_TRUE(StartReceiving(Listening(port, "127.0.0.1", 32)));
    other_address.Send("127.0.0.1", port, "/zeltran/key", "i", 'x');
    StopAfter(1);
    EXPECT_EQ(CountsOfReceiving().refused, 1u);
    RemoteCommand command;
    EXPECT_FALSE(TakeRemoteCommand(&command));

    ASSERT_TRUE(StartReceiving(Listening(port, "127.0.0.0", 8)));
    other_address.Send("127.0.0.1", port, "/zeltran/key", "i", 'x');
    StopAfter(2);
    ASSERT_TRUE(TakeRemoteCommand(&command));
    EXPECT_EQ(command.key, 'x');
}

// The key of a string is its first byte as an unsigned number whether char is signed (x86) or
// not (arm64): a Latin-1 letter is key 233, not a negative number that is refused.
TEST(Receiving, AStringKeyIsItsFirstByteUnsigned) {
    const int port = FreeUdpPort();
    ASSERT_TRUE(StartReceiving(Listening(port)));
    OscPeer peer;
    peer.Send("127.0.0.1", port, "/zeltran/key", "s", "\xE9t\xE9");
    StopAfter(1);
    RemoteCommand command;
    ASSERT_TRUE(TakeRemoteCommand(&command));
    EXPECT_EQ(command.key, 0xE9);
}

TEST(Receiving, MessagesAreValidatedBeforeTheyAreQueued) {
    const int port = FreeUdpPort();
    ASSERT_TRUE(StartReceiving(Listening(port)));
    OscPeer peer;
    const auto send = [&](const char* path, const char* types, auto... args) {
        peer.Send("127.0.0.1", port, path, types, args...);
    };
    // Taken: 6, one of them in a bundle time-tagged a minute ahead.
    send("/zeltran/motion", "ii", 3, 500);
    send("/zeltran/motion", "ff", 4.0, 1500.7);
    send("/zeltran/key", "i", 'x');
    send("/zeltran/key", "s", "2nd");
    send("/zeltran/folder", "i", 3);
    lo_timetag later;
    lo_timetag_now(&later);
    later.sec += 60;
    lo_bundle bundle = lo_bundle_new(later);
    for (const char* path : {"/zeltran/key", "/zeltran/volume"}) {
        lo_message key = lo_message_new();
        lo_message_add_int32(key, 'z');
        lo_bundle_add_message(bundle, path, key);
    }
    size_t size = 0;
    void* bytes = lo_bundle_serialise(bundle, nullptr, &size);
    peer.SendBytes("127.0.0.1", port, std::string(static_cast<char*>(bytes), size));
    free(bytes);
    lo_bundle_free_recursive(bundle);
    // Ignored: 11 (one of them in the bundle above).
    send("/zeltran/motion", "ii", 32, 1);
    send("/zeltran/motion", "ii", 5, -3);
    send("/zeltran/motion", "ff", 5.5, 1.0);
    send("/zeltran/motion", "ff", 6.0, NAN);
    send("/zeltran/motion", "ff", 6.0, 3e9);
    send("/zeltran/motion", "i", 5);
    send("/zeltran/key", "i", 255);
    send("/zeltran/folder", "i", 0);
    peer.SendBytes("127.0.0.1", port, "garbage");
    peer.SendBytes("127.0.0.1", port, std::string("/zeltran/key\0\0\0\0,s\0\0abcd", 24));
    StopAfter(17);
    EXPECT_EQ(CountsOfReceiving().received, 6u);
    EXPECT_EQ(CountsOfReceiving().ignored, 11u);

    int32_t values[kCameraSlots];
    bool fresh[kCameraSlots];
    TakeRemoteMotion(values, fresh);
    for (int slot = 0; slot < kCameraSlots; ++slot) EXPECT_EQ(fresh[slot], slot == 3 || slot == 4);
    EXPECT_EQ(values[3], 500);
    EXPECT_EQ(values[4], 1500);
    for (const RemoteCommand want : {RemoteCommand{'x', 0}, {'2', 0}, {0, 3}, {'z', 0}}) {
        RemoteCommand command{};
        EXPECT_TRUE(TakeRemoteCommand(&command));
        EXPECT_EQ(command.key, want.key);
        EXPECT_EQ(command.folder, want.folder);
    }
    RemoteCommand none;
    EXPECT_FALSE(TakeRemoteCommand(&none));
}

TEST(Receiving, ABurstLargerThanOneReadArrivesWholeAndInOrder) {
    const int port = FreeUdpPort();
    ASSERT_TRUE(StartReceiving(Listening(port)));
    OscPeer peer;
    const int burst = 30;
    for (int folder = 1; folder <= burst; ++folder) {
        peer.Send("127.0.0.1", port, "/zeltran/folder", "i", folder);
    }
    StopAfter(burst);
    for (int folder = 1; folder <= burst; ++folder) {
        RemoteCommand command{};
        ASSERT_TRUE(TakeRemoteCommand(&command));
        EXPECT_EQ(command.folder, folder);
    }
}

TEST(Receiving, APortInUseIsReportedAndNothingStarts) {
    OscPeer holder;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(StartReceiving(Listening(holder.port())));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Cannot receive on UDP port " +
                                                          std::to_string(holder.port())),
              std::string::npos);
}

}  // namespace
