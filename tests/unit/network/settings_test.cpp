#include "network/settings.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_tree.hpp"

namespace {

struct Read {
    bool found;
    std::string output;
    std::string errors;
    NetworkSettings settings;
};

Read ReadFile(const char* text) {
    TempTree tree;
    if (text) tree.WriteFile("SetNetwork.txt", text);
    Read read;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    read.found = ReadNetworkSettings("SetNetwork.txt", &read.settings);
    read.errors = testing::internal::GetCapturedStderr();
    read.output = testing::internal::GetCapturedStdout();
    return read;
}

IpAddress Address(const char* text) {
    IpAddress address;
    EXPECT_TRUE(ParseIpAddress(text, &address)) << text;
    return address;
}

TEST(NetworkSettingsFile, MissingFileIsSilent) {
    const Read read = ReadFile(nullptr);
    EXPECT_FALSE(read.found);
    EXPECT_EQ(read.output + read.errors, "");
}

TEST(NetworkSettingsFile, BadLinesAreReportedWithTheirNumberAndTheRestApplies) {
    const Read read = ReadFile(
        "# two rooms\n"
        "listen 9000   # all interfaces\n"
        "send 127.0.0.1:9001\n"
        "send [::1]:9002\r\n"
        "send ::1:9003\n"
        "send 127.0.0.1:0\n"
        "allow 192.168.10.0/24\n"
        "allow 10.0.0.1/33\n"
        "expire 250\n"
        "status fast\n"
        "volume 11\n"
        "listen\n"
        "\n"
        "status 0.5");
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.output,
              "\nSET: listen = 9000\n"
              "SET: send = 127.0.0.1:9001\n"
              "SET: send = [::1]:9002\n"
              "SET: allow = 192.168.10.0/24\n"
              "SET: expire = 250\n"
              "SET: status = 0.5\n");
    for (const char* line : {"line 5 ", "line 6 ", "line 8 ", "line 10 ", "line 11 ", "line 12 "}) {
        EXPECT_NE(read.errors.find(std::string("SetNetwork.txt ") + line), std::string::npos)
            << line << " in " << read.errors;
    }
    EXPECT_EQ(read.settings.target_count, 2);
    EXPECT_EQ(read.settings.targets[1].address.family, 6);
    EXPECT_EQ(read.settings.targets[1].port, 9002);
}

TEST(NetworkSettingsFile, DefaultsAndTheTargetLimit) {
    std::string text;
    for (int i = 0; i < kMaxTargets + 1; ++i)
        text += "send 127.0.0.1:" + std::to_string(20000 + i) + "\n";
    const Read read = ReadFile(text.c_str());
    EXPECT_EQ(read.settings.target_count, kMaxTargets);
    EXPECT_NE(read.errors.find("line 17 skipped: at most 16 targets"), std::string::npos);
    EXPECT_NE(
        read.output.find("SET: allow = loopback only\nSET: expire = 1000\nSET: status = 1.0\n"),
        std::string::npos);
    EXPECT_EQ(read.settings.listen_port, 0);
}

TEST(NetworkSettingsFile, SendersAreCheckedAgainstTheAllowRules) {
    NetworkSettings loopback_only;
    EXPECT_TRUE(SenderAllowed(loopback_only, Address("127.0.0.2")));
    EXPECT_TRUE(SenderAllowed(loopback_only, Address("::1")));
    EXPECT_TRUE(SenderAllowed(loopback_only, Address("::ffff:127.0.0.1")));
    EXPECT_FALSE(SenderAllowed(loopback_only, Address("192.168.10.7")));

    const Read read = ReadFile("allow 192.168.10.0/23\nallow fe80::/10\nallow 10.1.2.3\n");
    const NetworkSettings& rules = read.settings;
    EXPECT_TRUE(SenderAllowed(rules, Address("192.168.11.200")));
    EXPECT_TRUE(SenderAllowed(rules, Address("::ffff:192.168.10.1")));
    EXPECT_FALSE(SenderAllowed(rules, Address("192.168.12.1")));
    EXPECT_TRUE(SenderAllowed(rules, Address("febf::1")));
    EXPECT_FALSE(SenderAllowed(rules, Address("fec0::1")));
    EXPECT_TRUE(SenderAllowed(rules, Address("10.1.2.3")));
    EXPECT_FALSE(SenderAllowed(rules, Address("10.1.2.4")));
    EXPECT_FALSE(SenderAllowed(rules, Address("127.0.0.1")));  // rules replace the loopback default
}

}  // namespace
