// The OSC reader and writer on packets written out byte by byte.
#include "network/osc.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// What DispatchOscPacket handed on: "path,types" per message, and the faults it returned.
struct Taken {
    std::vector<std::string> messages;
    int faults = 0;
};

Taken Dispatch(const std::string& packet) {
    Taken taken;
    taken.faults = DispatchOscPacket(
        reinterpret_cast<const uint8_t*>(packet.data()), packet.size(),
        [&](const OscMessage& message) {
            taken.messages.push_back(std::string(message.path) + "," + message.types);
        });
    return taken;
}

std::string Element(const std::string& content) {
    const auto n = static_cast<uint32_t>(content.size());
    return std::string{char(n >> 24), char(n >> 16), char(n >> 8), char(n)} + content;
}

std::string Bundle(const std::vector<std::string>& contents) {
    std::string bundle = "#bundle\0"s + "\0\0\0\0\0\0\0\1"s;
    for (const std::string& content : contents) bundle += Element(content);
    return bundle;
}

const std::string kKey = "/zeltran/key\0\0\0\0,i\0\0\0\0\0x"s;

TEST(Osc, TheSentMessagesHaveTheirStandardBytes) {
    uint8_t bytes[64];
    const OscNumber motion[] = {{.int32 = 3}, {.int32 = 500}};
    const size_t size = EncodeOscMessage("/zeltran/motion", "ii", motion, bytes, sizeof bytes);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size),
              "/zeltran/motion\0,ii\0\0\0\0\3\0\0\1\xF4"s);
    const OscNumber status[] = {{.int32 = -1}, {.float32 = 29.97f}};
    const size_t status_size = EncodeOscMessage("/s", "if", status, bytes, sizeof bytes);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), status_size),
              "/s\0\0,if\0\xFF\xFF\xFF\xFF\x41\xEF\xC2\x8F"s);
    EXPECT_EQ(EncodeOscMessage("/zeltran/motion", "ii", motion, bytes, 27), 0u);
}

TEST(Osc, EveryArgumentTypeIsReadAndTheFirstValuesKept) {
    const std::string packet = "/a\0\0,sifbhTNS\0\0\0"s + "\xE9t\0\0"s + "\xFF\xFF\xFF\xFE"s +
                               "\x3F\xC0\0\0"s + "\0\0\0\5hello\0\0\0"s + "12345678"s + "sym\0"s;
    int count = 0;
    OscArgument first[kOscKeptArguments];
    const int faults = DispatchOscPacket(reinterpret_cast<const uint8_t*>(packet.data()),
                                         packet.size(), [&](const OscMessage& m) {
                                             count = m.count;
                                             for (int i = 0; i < kOscKeptArguments; ++i)
                                                 first[i] = m.arguments[i];
                                         });
    EXPECT_EQ(faults, 0);
    EXPECT_EQ(count, 8);
    EXPECT_STREQ(first[0].string, "\xE9t");
    EXPECT_EQ(first[1].int32, -2);
    EXPECT_EQ(first[2].float32, 1.5f);
    EXPECT_EQ(first[3].type, 'b');
}

TEST(Osc, DamagedMessagesAreFaultsAndNothingIsTaken) {
    for (const std::string& packet : {
             "garbage"s,                           // no zero
             "/zeltran/key\0\0\0\0,s\0\0abcd"s,    // string without its zero
             "/a\0\0"s,                            // no type tags
             "/a\0\0i\0\0\0\0\0\0\1"s,             // type tags without ','
             "/a\0x\0,i\0\0\0\0\0\1"s,             // padding that is not zero
             "/a\0\0,q\0\0\0\0\0\1"s,              // unknown type
             "/a\0\0,i\0\0\0\0\0\1\0\0\0\0"s,      // bytes after the arguments
             "/a\0\0,b\0\0\0\0\0\x09"s + "abcd"s,  // blob longer than the packet
             "/a\0\0,ih\0\0\0\0\1\0\0\0\0"s,       // int64 cut short
         }) {
        const Taken taken = Dispatch(packet);
        EXPECT_EQ(taken.faults, 1) << testing::PrintToString(packet);
        EXPECT_TRUE(taken.messages.empty()) << testing::PrintToString(packet);
    }
    // An empty datagram, whose buffer may be null: a fault, and nothing read from it.
    int handed_on = 0;
    EXPECT_EQ(DispatchOscPacket(nullptr, 0, [&](const OscMessage&) { ++handed_on; }), 1);
    EXPECT_EQ(handed_on, 0);
}

TEST(Osc, BundlesAreTakenInOrderAndAFaultEndsOnlyWhatFollowsIt) {
    const std::string volume = "/v\0\0,f\0\0\0\0\0\0"s;
    Taken taken = Dispatch(Bundle({kKey, Bundle({volume, kKey}), volume}));
    EXPECT_EQ(taken.faults, 0);
    EXPECT_EQ(taken.messages,
              (std::vector<std::string>{"/zeltran/key,i", "/v,f", "/zeltran/key,i", "/v,f"}));

    // A damaged message stops its bundle; a damaged inner bundle only itself.
    taken = Dispatch(Bundle({kKey, "/x\0\0"s, volume}));
    EXPECT_EQ(taken.faults, 1);
    EXPECT_EQ(taken.messages, std::vector<std::string>{"/zeltran/key,i"});
    taken = Dispatch(Bundle({Bundle({volume}) + "\0\0"s, volume}));
    EXPECT_EQ(taken.faults, 1);
    EXPECT_EQ(taken.messages, std::vector<std::string>{"/v,f"});

    // An element longer than the rest, or bytes that are no element: nothing is taken.
    for (const std::string& bundle :
         {Bundle({kKey}).substr(0, 30), Bundle({kKey}) + "\0\0"s, "#bundle\0\0\0\0"s}) {
        taken = Dispatch(bundle);
        EXPECT_EQ(taken.faults, 1);
        EXPECT_TRUE(taken.messages.empty());
    }

    // Nested thousands deep, as a 64 KiB datagram allows.
    std::string deep = kKey;
    for (int level = 0; level < 3000; ++level) deep = Bundle({deep});
    taken = Dispatch(deep);
    EXPECT_EQ(taken.faults, 0);
    EXPECT_EQ(taken.messages.size(), 1u);
}

}  // namespace
