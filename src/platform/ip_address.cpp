// Addresses of both systems' sockets.
#include <cstring>

#include "platform/socket_api.hpp"

void FromSockaddr(const sockaddr* from, IpAddress* address) {
    std::memset(address, 0, sizeof *address);
    if (from->sa_family == AF_INET) {
        address->family = 4;
        std::memcpy(address->bytes, &reinterpret_cast<const sockaddr_in*>(from)->sin_addr, 4);
    } else if (from->sa_family == AF_INET6) {
        const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(from)->sin6_addr;
        // An IPv4 sender seen through an IPv6 socket is matched by the IPv4 rules.
        if (IN6_IS_ADDR_V4MAPPED(&v6)) {
            address->family = 4;
            std::memcpy(address->bytes, &v6.s6_addr[12], 4);
        } else {
            address->family = 6;
            std::memcpy(address->bytes, &v6, 16);
        }
    }
}

bool ParseIpAddress(const char* text, IpAddress* address) {
    std::memset(address, 0, sizeof *address);
    if (inet_pton(AF_INET, text, address->bytes) == 1) {
        address->family = 4;
        return true;
    }
    if (inet_pton(AF_INET6, text, address->bytes) == 1) {
        address->family = 6;
        return true;
    }
    return false;
}

bool ResolveHost(const char* host, IpAddress* address) {
    if (ParseIpAddress(host, address)) return true;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0) return false;
    bool resolved = false;
    for (const addrinfo* it = found; it != nullptr && !resolved; it = it->ai_next) {
        if (it->ai_family == AF_INET || it->ai_family == AF_INET6) {
            FromSockaddr(it->ai_addr, address);
            resolved = true;
        }
    }
    freeaddrinfo(found);
    return resolved;
}

socklen_t ToSockaddr(const IpAddress& address, int port, sockaddr_storage* to) {
    std::memset(to, 0, sizeof *to);
    if (address.family == 4) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(to);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(port));
        std::memcpy(&v4->sin_addr, address.bytes, 4);
        return sizeof *v4;
    }
    auto* v6 = reinterpret_cast<sockaddr_in6*>(to);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<uint16_t>(port));
    std::memcpy(&v6->sin6_addr, address.bytes, 16);
    return sizeof *v6;
}
