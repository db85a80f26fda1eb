// liblo's server thread on a real loopback port, fed by real UDP senders.
#include "network/receive.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "common/state.hpp"
#include "support/osc_peer.hpp"

namespace {

NetworkSettings Listening(int port) {
    NetworkSettings settings;
    settings.listen_port = port;
    return settings;
}

NetworkSettings Allowing(int port, const char* address, int prefix) {
    NetworkSettings settings = Listening(port);
    EXPECT_TRUE(ParseIpAddress(address, &settings.allowed[0].address));
    settings.allowed[0].prefix = prefix;
    settings.allow_count = 1;
    return settings;
}

// Waits until the counts add up to messages.
bool WaitForMessages(uint64_t messages) {
    for (int tries = 0; tries < 200; ++tries) {
        const ReceiveCounts counts = CountsOfReceiving();
        if (counts.received + counts.ignored + counts.refused >= messages) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::string Bundle(lo_timetag when,
                   std::initializer_list<std::pair<const char*, lo_message>> parts) {
    lo_bundle bundle = lo_bundle_new(when);
    for (const auto& [path, message] : parts) lo_bundle_add_message(bundle, path, message);
    size_t size = 0;
    void* bytes = lo_bundle_serialise(bundle, nullptr, &size);
    std::string text(static_cast<char*>(bytes), size);
    free(bytes);
    lo_bundle_free_recursive(bundle);
    return text;
}

TEST(Receiving, OnlySendersTheRulesAllowAreHeard) {
    const int port = FreeUdpPort();
    OscPeer other_address("127.0.0.2");
    ASSERT_TRUE(StartReceiving(Allowing(port, "127.0.0.1", 32)));
    other_address.Send("127.0.0.1", port, "/zeltran/key", IntMessage('x'));
    ASSERT_TRUE(WaitForMessages(1));
    StopReceiving();
    EXPECT_EQ(CountsOfReceiving().refused, 1u);
    RemoteCommand command;
    EXPECT_FALSE(TakeRemoteCommand(&command));

    ASSERT_TRUE(StartReceiving(Allowing(port, "127.0.0.0", 8)));
    other_address.Send("127.0.0.1", port, "/zeltran/key", IntMessage('x'));
    ASSERT_TRUE(WaitForMessages(2));
    StopReceiving();
    EXPECT_EQ(CountsOfReceiving().received, 1u);
    ASSERT_TRUE(TakeRemoteCommand(&command));
    EXPECT_EQ(command.key, 'x');
}

TEST(Receiving, MessagesAreValidatedBeforeTheyAreQueued) {
    const int port = FreeUdpPort();
    ASSERT_TRUE(StartReceiving(Listening(port)));
    OscPeer sender;
    const auto send = [&](const char* path, lo_message message) {
        sender.Send("127.0.0.1", port, path, message);
    };
    // Taken: 6 messages, 2 of them in a bundle; one bundle is time-tagged a minute ahead.
    send("/zeltran/motion", IntsMessage(3, 500));
    send("/zeltran/motion", FloatsMessage(4.0f, 1500.7f));
    send("/zeltran/key", IntMessage('x'));
    send("/zeltran/key", StringMessage("2nd"));
    send("/zeltran/folder", IntMessage(3));
    lo_timetag later;
    lo_timetag_now(&later);
    later.sec += 60;
    sender.SendBytes(
        "127.0.0.1", port,
        Bundle(later, {{"/zeltran/key", IntMessage('z')}, {"/zeltran/volume", IntMessage(1)}}));
    // Ignored: 14 (one of them in the bundle above).
    send("/zeltran/motion", IntsMessage(32, 1));
    send("/zeltran/motion", IntsMessage(-1, 1));
    send("/zeltran/motion", IntsMessage(5, -3));
    send("/zeltran/motion", FloatsMessage(5.5f, 1.0f));
    send("/zeltran/motion", FloatsMessage(6.0f, NAN));
    send("/zeltran/motion", FloatsMessage(6.0f, INFINITY));
    send("/zeltran/motion", FloatsMessage(6.0f, 3e9f));
    send("/zeltran/motion", IntMessage(5));
    send("/zeltran/key", IntMessage(255));
    send("/zeltran/key", StringMessage(""));
    send("/zeltran/folder", IntMessage(0));
    sender.SendBytes("127.0.0.1", port, "garbage");
    sender.SendBytes("127.0.0.1", port, std::string("/zeltran/key\0\0\0\0,s\0\0abcd", 24));
    ASSERT_TRUE(WaitForMessages(20));
    StopReceiving();
    const ReceiveCounts counts = CountsOfReceiving();
    EXPECT_EQ(counts.received, 6u);
    EXPECT_EQ(counts.ignored, 14u);

    int32_t values[kCameraSlots];
    bool fresh[kCameraSlots];
    TakeRemoteMotion(values, fresh);
    for (int slot = 0; slot < kCameraSlots; ++slot) EXPECT_EQ(fresh[slot], slot == 3 || slot == 4);
    EXPECT_EQ(values[3], 500);
    EXPECT_EQ(values[4], 1500);
    const RemoteCommand expected[] = {{'x', 0}, {'2', 0}, {0, 3}, {'z', 0}};
    for (const RemoteCommand& want : expected) {
        RemoteCommand command;
        ASSERT_TRUE(TakeRemoteCommand(&command));
        EXPECT_EQ(command.key, want.key);
        EXPECT_EQ(command.folder, want.folder);
    }
    RemoteCommand none;
    EXPECT_FALSE(TakeRemoteCommand(&none));
}

TEST(Receiving, APortInUseIsReportedAndNothingStarts) {
    OscPeer holder("127.0.0.1");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(StartReceiving(Listening(holder.port())));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("Cannot receive on UDP port " + std::to_string(holder.port())),
              std::string::npos)
        << errors;
    StopReceiving();
}

}  // namespace
