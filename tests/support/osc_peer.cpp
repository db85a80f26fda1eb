#include "support/osc_peer.hpp"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

socklen_t ToSockaddr(const std::string& address, int port, sockaddr_in6* out) {
    std::memset(out, 0, sizeof *out);
    auto* v4 = reinterpret_cast<sockaddr_in*>(out);
    if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(port));
        return sizeof *v4;
    }
    EXPECT_EQ(inet_pton(AF_INET6, address.c_str(), &out->sin6_addr), 1) << address;
    out->sin6_family = AF_INET6;
    out->sin6_port = htons(static_cast<uint16_t>(port));
    return sizeof *out;
}

}  // namespace

OscPeer::OscPeer(const std::string& address) {
    sockaddr_in6 self;
    socklen_t length = ToSockaddr(address, 0, &self);
    socket_ = socket(self.sin6_family, SOCK_DGRAM, 0);
    if (bind(socket_, reinterpret_cast<sockaddr*>(&self), length) != 0) {
        ADD_FAILURE() << "cannot bind a UDP socket to " << address;
    }
    getsockname(socket_, reinterpret_cast<sockaddr*>(&self), &length);
    port_ = ntohs(self.sin6_port);  // sin_port lies at the same place
}

OscPeer::~OscPeer() {
    close(socket_);
}

void OscPeer::SendBytes(const std::string& address, int port, const std::string& bytes) const {
    sockaddr_in6 to;
    const socklen_t length = ToSockaddr(address, port, &to);
    EXPECT_EQ(
        sendto(socket_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), length),
        static_cast<ssize_t>(bytes.size()));
}

void OscPeer::SendMessage(const std::string& address, int port, const char* path,
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
        const ssize_t got = recv(socket_, buffer.data(), buffer.size() - 1, 0);
        if (got <= 0 || std::strcmp(buffer.data(), path) != 0) continue;
        int result = 0;
        lo_message message =
            lo_message_deserialise(buffer.data(), static_cast<size_t>(got), &result);
        if (message) return message;
    }
    return nullptr;
}

int FreeUdpPort() {
    const OscPeer probe;
    return probe.port();
}
