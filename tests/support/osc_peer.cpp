#include "support/osc_peer.hpp"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

namespace {

// address:port as a socket address; length 0 when address is not numeric.
socklen_t ToSockaddr(const std::string& address, int port, sockaddr_storage* out) {
    std::memset(out, 0, sizeof *out);
    auto* v4 = reinterpret_cast<sockaddr_in*>(out);
    if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(port));
        return sizeof *v4;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(out);
    if (inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<uint16_t>(port));
        return sizeof *v6;
    }
    return 0;
}

}  // namespace

OscPeer::OscPeer(const std::string& address, int port) {
    sockaddr_storage self;
    const socklen_t length = ToSockaddr(address, port, &self);
    family_ = self.ss_family;
    socket_ = socket(family_, SOCK_DGRAM, 0);
    if (socket_ < 0 || bind(socket_, reinterpret_cast<sockaddr*>(&self), length) != 0) {
        ADD_FAILURE() << "cannot bind a UDP socket to " << address << ":" << port;
        return;
    }
    socklen_t bound_length = sizeof self;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&self), &bound_length);
    port_ = ntohs(family_ == AF_INET ? reinterpret_cast<sockaddr_in*>(&self)->sin_port
                                     : reinterpret_cast<sockaddr_in6*>(&self)->sin6_port);
}

OscPeer::~OscPeer() {
    if (socket_ >= 0) close(socket_);
}

void OscPeer::SendBytes(const std::string& address, int port, const std::string& bytes) const {
    sockaddr_storage to;
    const socklen_t length = ToSockaddr(address, port, &to);
    EXPECT_EQ(
        sendto(socket_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), length),
        static_cast<ssize_t>(bytes.size()));
}

void OscPeer::Send(const std::string& address, int port, const char* path,
                   lo_message message) const {
    size_t size = 0;
    void* bytes = lo_message_serialise(message, path, nullptr, &size);
    SendBytes(address, port, std::string(static_cast<char*>(bytes), size));
    free(bytes);
    lo_message_free(message);
}

lo_message OscPeer::Receive(const char* path, double timeout_s) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
    std::vector<char> buffer(65536);
    while (std::chrono::steady_clock::now() < end) {
        pollfd ready{socket_, POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0) continue;
        const ssize_t got = recv(socket_, buffer.data(), buffer.size(), 0);
        if (got <= 0 || std::strcmp(buffer.data(), path) != 0) continue;
        int result = 0;
        lo_message message =
            lo_message_deserialise(buffer.data(), static_cast<size_t>(got), &result);
        if (message) return message;
    }
    return nullptr;
}

int FreeUdpPort() {
    std::random_device seed;
    std::mt19937 random(seed());
    for (;;) {
        const int port = 20000 + static_cast<int>(random() % 40000);
        const int probe = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_port = htons(static_cast<uint16_t>(port));
        const bool free_port = bind(probe, reinterpret_cast<sockaddr*>(&any), sizeof any) == 0;
        close(probe);
        if (free_port) return port;
    }
}

lo_message IntMessage(int value) {
    lo_message message = lo_message_new();
    lo_message_add_int32(message, value);
    return message;
}

lo_message IntsMessage(int first, int second) {
    lo_message message = IntMessage(first);
    lo_message_add_int32(message, second);
    return message;
}

lo_message FloatsMessage(float first, float second) {
    lo_message message = lo_message_new();
    lo_message_add_float(message, first);
    lo_message_add_float(message, second);
    return message;
}

lo_message StringMessage(const char* text) {
    lo_message message = lo_message_new();
    lo_message_add_string(message, text);
    return message;
}
