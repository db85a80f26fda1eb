// The network settings file SetNetwork.txt: `KEY VALUE` lines, `#` comments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/udp.hpp"

constexpr int kMaxTargets = 16;     // `send` lines taken
constexpr int kMaxAllowRules = 64;  // `allow` lines taken

struct NetTarget {
    IpAddress address;
    int32_t port;
    std::string text;  // as written in the file, for the report
};

struct AllowRule {
    IpAddress address;
    int32_t prefix;  // leading bits compared: 0..32 (IPv4), 0..128 (IPv6)
    std::string text;
};

struct NetworkSettings {
    int32_t listen_port = 0;  // UDP port received on; 0: no receiving
    NetTarget targets[kMaxTargets];
    int32_t target_count = 0;
    AllowRule allowed[kMaxAllowRules];
    int32_t allow_count = 0;      // 0: only loopback senders are accepted
    int32_t expire_ms = 1000;     // a remote motion value older than this counts as 0
    double status_seconds = 1.0;  // period of the status message; 0: none
    int32_t http_port = 0;        // TCP port of the status page; 0: no page
};

// A line of the settings file that is skipped, and why.
struct SkippedLine {
    int number;  // from 1
    std::string text;
    std::string reason;
};

// Reads file into settings (which start at their defaults), reports each line that cannot be read
// with its number on stderr and skips it, then prints every setting as "SET: key = value".
// False, with nothing printed, when the file does not open. With skipped given, the skipped lines
// go there instead of stderr (the installation check words them itself).
bool ReadNetworkSettings(const char* file, NetworkSettings* settings,
                         std::vector<SkippedLine>* skipped = nullptr);

// True when sender passes the allow rules; without rules only loopback senders pass. An IPv4
// sender seen through an IPv6 socket (::ffff:a.b.c.d) is compared as IPv4.
bool SenderAllowed(const NetworkSettings& settings, const IpAddress& sender);
