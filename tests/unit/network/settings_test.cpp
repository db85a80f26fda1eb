#include "network/settings.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_tree.hpp"

namespace {

// Reads text as SetNetwork.txt; stdout and stderr of the reading in *output / *errors.
NetworkSettings Read(const std::string& text, std::string* output, std::string* errors) {
    TempTree tree;
    tree.WriteFile("SetNetwork.txt", text);
    NetworkSettings settings;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(ReadNetworkSettings("SetNetwork.txt", &settings));
    *errors = testing::internal::GetCapturedStderr();
    *output = testing::internal::GetCapturedStdout();
    return settings;
}

bool Allows(const NetworkSettings& settings, const char* sender) {
    IpAddress address;
    EXPECT_TRUE(ParseIpAddress(sender, &address)) << sender;
    return SenderAllowed(settings, address);
}

TEST(NetworkSettingsFile, BadLinesAreReportedWithTheirNumberAndTheRestApplies) {
    std::string output, errors;
    std::string text =
        "# two rooms\nlisten 9000   # all interfaces\nsend [::1]:9002\r\nsend ::1:9003\n"
        "send 127.0.0.1:0\nallow 192.168.10.0/24\nallow 10.0.0.1/33\nexpire 250\nstatus fast\n"
        "volume 11\nlisten\n\nstatus 0.5\n";
    for (int i = 0; i < kMaxTargets; ++i) text += "send 127.0.0.1:" + std::to_string(i + 1) + "\n";
    const NetworkSettings settings = Read(text, &output, &errors);
    EXPECT_EQ(
        output.find("\nSET: listen = 9000\nSET: send = [::1]:9002\nSET: send = 127.0.0.1:1\n"), 0u);
    EXPECT_NE(output.find("SET: allow = 192.168.10.0/24\nSET: expire = 250\nSET: status = 0.5\n"),
              std::string::npos);
    for (int line : {4, 5, 7, 9, 10, 11, 29}) {
        EXPECT_NE(errors.find("SetNetwork.txt line " + std::to_string(line) + " skipped"),
                  std::string::npos)
            << line << " in " << errors;
    }
    EXPECT_EQ(settings.target_count, kMaxTargets);
    EXPECT_EQ(settings.targets[0].address.family, 6);
}

TEST(NetworkSettingsFile, SendersAreCheckedAgainstTheAllowRules) {
    std::string output, errors;
    const NetworkSettings loopback = Read("listen 9000\n", &output, &errors);
    EXPECT_NE(output.find("SET: allow = loopback only\nSET: expire = 1000\nSET: status = 1.0\n"),
              std::string::npos);
    EXPECT_TRUE(Allows(loopback, "127.0.0.2"));
    EXPECT_TRUE(Allows(loopback, "::1"));
    EXPECT_TRUE(Allows(loopback, "::ffff:127.0.0.1"));
    EXPECT_FALSE(Allows(loopback, "192.168.10.7"));

    const NetworkSettings rules =
        Read("allow 192.168.10.0/23\nallow fe80::/10\nallow 10.1.2.3\n", &output, &errors);
    EXPECT_TRUE(Allows(rules, "192.168.11.200"));
    EXPECT_TRUE(Allows(rules, "::ffff:192.168.10.1"));
    EXPECT_FALSE(Allows(rules, "192.168.12.1"));
    EXPECT_TRUE(Allows(rules, "febf::1"));
    EXPECT_FALSE(Allows(rules, "fec0::1"));
    EXPECT_FALSE(Allows(rules, "10.1.2.4"));
    EXPECT_FALSE(Allows(rules, "127.0.0.1"));  // rules replace the loopback default
}

}  // namespace

namespace {

TEST(NetworkSettingsFile, TheStatusPagePortIsReadAndPrintedLast) {
    std::string output, errors;
    NetworkSettings settings = Read("http 8080\n", &output, &errors);
    EXPECT_EQ(settings.http_port, 8080);
    EXPECT_NE(output.find("SET: status = 1.0\nSET: http = 8080\n"), std::string::npos) << output;
    for (const char* bad : {"http 0\n", "http 65536\n", "http web\n"}) {
        settings = Read(bad, &output, &errors);
        EXPECT_EQ(settings.http_port, 0) << bad;
        EXPECT_EQ(errors, "[ NG ] SetNetwork.txt line 1 skipped: the port is a number 1..65535\n");
        EXPECT_EQ(output.find("http"), std::string::npos) << output;
    }
}

}  // namespace
