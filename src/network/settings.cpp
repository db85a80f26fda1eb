#include "network/settings.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "common/console.hpp"
#include "platform/files.hpp"

namespace {

constexpr int32_t kLongestExpireMs = 3600000;  // one hour
constexpr double kLongestStatusSeconds = 3600.0;
constexpr uint8_t kV4MappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};

// A whole decimal number lowest..highest and nothing else.
bool ParseWhole(const std::string& text, long lowest, long highest, int32_t* value) {
    if (text.empty() || text.size() > 12) return false;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || number < lowest || number > highest) return false;
    *value = static_cast<int32_t>(number);
    return true;
}

bool ParsePort(const std::string& text, int32_t* port) {
    return ParseWhole(text, 1, 65535, port);
}

// HOST:PORT or [IPv6]:PORT. A second ':' outside brackets would make the port ambiguous.
const char* ParseTarget(const std::string& text, NetTarget* target) {
    std::string host;
    std::string port;
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find("]:");
        if (close == std::string::npos) return "write an IPv6 target as [address]:port";
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        const size_t colon = text.find(':');
        if (colon == std::string::npos) return "a target is HOST:PORT";
        if (text.find(':', colon + 1) != std::string::npos) {
            return "write an IPv6 target as [address]:port";
        }
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (!ParsePort(port, &target->port)) return "the port is a number 1..65535";
    if (host.empty() || !ResolveHost(host.c_str(), &target->address)) {
        return "the host has no address";
    }
    target->text = text;
    return nullptr;
}

const char* ParseAllow(const std::string& text, AllowRule* rule) {
    const size_t slash = text.find('/');
    const std::string address = text.substr(0, slash);
    if (!ParseIpAddress(address.c_str(), &rule->address)) return "not an IP address";
    const int32_t longest = rule->address.family == 4 ? 32 : 128;
    rule->prefix = longest;
    if (slash != std::string::npos &&
        !ParseWhole(text.substr(slash + 1), 0, longest, &rule->prefix)) {
        return "the prefix is a number 0..32 (IPv4) or 0..128 (IPv6)";
    }
    rule->text = text;
    return nullptr;
}

bool ParseStatus(const std::string& text, double* seconds) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < 0.0 ||
        value > kLongestStatusSeconds) {
        return false;
    }
    *seconds = value;
    return true;
}

// Parses value into the next free entry of table; the reason when it cannot.
template <typename Entry, int kLimit>
const char* AddTo(Entry (&table)[kLimit], int32_t* count, const char* full,
                  const char* (*parse)(const std::string&, Entry*), const std::string& value) {
    if (*count >= kLimit) return full;
    Entry entry;
    const char* error = parse(value, &entry);
    if (error == nullptr) table[(*count)++] = entry;
    return error;
}

// Applies one KEY VALUE pair; the reason when it cannot be read.
const char* ApplySetting(const std::string& key, const std::string& value,
                         NetworkSettings* settings) {
    if (key == "listen") {
        return ParsePort(value, &settings->listen_port) ? nullptr : "the port is a number 1..65535";
    }
    if (key == "send") {
        return AddTo(settings->targets, &settings->target_count, "at most 16 targets", ParseTarget,
                     value);
    }
    if (key == "allow") {
        return AddTo(settings->allowed, &settings->allow_count, "at most 64 allow lines",
                     ParseAllow, value);
    }
    if (key == "expire") {
        return ParseWhole(value, 1, kLongestExpireMs, &settings->expire_ms)
                   ? nullptr
                   : "milliseconds 1..3600000";
    }
    if (key == "status") {
        return ParseStatus(value, &settings->status_seconds) ? nullptr : "seconds 0..3600";
    }
    if (key == "http") {
        return ParsePort(value, &settings->http_port) ? nullptr : "the port is a number 1..65535";
    }
    return "unknown setting (listen, send, allow, expire, status, http)";
}

void ReadLine(const char* file, int number, const std::string& whole, NetworkSettings* settings,
              std::vector<SkippedLine>* skipped) {
    const std::string line = whole.substr(0, whole.find('#'));
    std::istringstream words(line);
    std::vector<std::string> parts;
    for (std::string word; words >> word;) parts.push_back(word);
    if (parts.empty()) return;
    const char* error =
        parts.size() == 2 ? ApplySetting(parts[0], parts[1], settings) : "write KEY VALUE";
    if (error != nullptr && skipped != nullptr) {
        skipped->push_back({number, whole, error});
    } else if (error != nullptr) {
        PrintError("[ NG ] %s line %d skipped: %s\n", file, number, error);
    }
}

void PrintSettings(const NetworkSettings& settings) {
    Print("\n");
    if (settings.listen_port != 0) Print("SET: listen = %d\n", settings.listen_port);
    for (int i = 0; i < settings.target_count; ++i) {
        Print("SET: send = %s\n", settings.targets[i].text.c_str());
    }
    for (int i = 0; i < settings.allow_count; ++i) {
        Print("SET: allow = %s\n", settings.allowed[i].text.c_str());
    }
    if (settings.allow_count == 0) Print("SET: allow = loopback only\n");
    Print("SET: expire = %d\n", settings.expire_ms);
    // 1.0 stays "1.0"; a period such as 0.01667 keeps its digits.
    Print(std::fmod(settings.status_seconds, 1.0) == 0.0 ? "SET: status = %.1f\n"
                                                         : "SET: status = %g\n",
          settings.status_seconds);
    if (settings.http_port != 0) Print("SET: http = %d\n", settings.http_port);
}

// True when the first prefix bits of a and b agree.
bool SamePrefix(const uint8_t* a, const uint8_t* b, int prefix) {
    const int whole = prefix / 8;
    if (std::memcmp(a, b, static_cast<size_t>(whole)) != 0) return false;
    const int rest = prefix % 8;
    if (rest == 0) return true;
    const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - rest));
    return (a[whole] & mask) == (b[whole] & mask);
}

bool IsLoopback(const IpAddress& address) {
    static const uint8_t kLoopback6[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    if (address.family == 4) return address.bytes[0] == 127;
    return std::memcmp(address.bytes, kLoopback6, 16) == 0;
}

}  // namespace

bool ReadNetworkSettings(const char* file, NetworkSettings* settings,
                         std::vector<SkippedLine>* skipped) {
    FILE* input = OpenFile(file, "r");
    if (input == nullptr) return false;
    std::string line;
    int number = 1;
    for (int c = std::fgetc(input); c != EOF; c = std::fgetc(input)) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
            continue;
        }
        ReadLine(file, number++, line, settings, skipped);
        line.clear();
    }
    ReadLine(file, number, line, settings, skipped);
    std::fclose(input);
    PrintSettings(*settings);
    return true;
}

bool SenderAllowed(const NetworkSettings& settings, const IpAddress& sender) {
    IpAddress seen = sender;
    if (seen.family == 6 && std::memcmp(seen.bytes, kV4MappedPrefix, 12) == 0) {
        seen.family = 4;
        std::memmove(seen.bytes, seen.bytes + 12, 4);
    }
    if (settings.allow_count == 0) return IsLoopback(seen);
    for (int i = 0; i < settings.allow_count; ++i) {
        const AllowRule& rule = settings.allowed[i];
        if (rule.address.family == seen.family &&
            SamePrefix(rule.address.bytes, seen.bytes, rule.prefix)) {
            return true;
        }
    }
    return false;
}
