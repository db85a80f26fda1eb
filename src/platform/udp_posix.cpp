#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "platform/udp.hpp"

namespace {

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

}  // namespace

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

int OpenUdpTarget(const IpAddress& address, int port) {
    sockaddr_storage to{};
    socklen_t length = 0;
    if (address.family == 4) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&to);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(port));
        std::memcpy(&v4->sin_addr, address.bytes, 4);
        length = sizeof *v4;
    } else {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&to);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<uint16_t>(port));
        std::memcpy(&v6->sin6_addr, address.bytes, 16);
        length = sizeof *v6;
    }
    const int fd = socket(to.ss_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), length) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

SendResult SendDatagram(int socket, const void* data, size_t size) {
    // MSG_DONTWAIT as well as the non-blocking socket: a full buffer costs this one message.
    const ssize_t sent = send(socket, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    return sent == static_cast<ssize_t>(size) ? SendResult::kSent : SendResult::kDropped;
}

bool WaitReadable(int socket, int timeout_ms) {
    pollfd wait{socket, POLLIN, 0};
    return poll(&wait, 1, timeout_ms) > 0;
}

int ReceiveDatagrams(int socket, Datagram* datagrams, int count) {
    constexpr int kMost = 16;
    if (count > kMost) count = kMost;
    mmsghdr headers[kMost];
    iovec buffers[kMost];
    sockaddr_storage senders[kMost];
    for (int i = 0; i < count; ++i) {
        buffers[i] = {datagrams[i].data, datagrams[i].capacity};
        headers[i] = {};
        headers[i].msg_hdr.msg_name = &senders[i];
        headers[i].msg_hdr.msg_namelen = sizeof senders[i];
        headers[i].msg_hdr.msg_iov = &buffers[i];
        headers[i].msg_hdr.msg_iovlen = 1;
    }
    const int got = recvmmsg(socket, headers, static_cast<unsigned>(count), MSG_DONTWAIT, nullptr);
    if (got <= 0) return 0;
    for (int i = 0; i < got; ++i) {
        datagrams[i].size = headers[i].msg_len;
        datagrams[i].truncated = (headers[i].msg_hdr.msg_flags & MSG_TRUNC) != 0;
        FromSockaddr(reinterpret_cast<const sockaddr*>(&senders[i]), &datagrams[i].sender);
    }
    return got;
}

void CloseUdpSocket(int socket) {
    if (socket >= 0) close(socket);
}
