#include <poll.h>
#include <unistd.h>

#include <cstring>

#include "platform/socket_api.hpp"

int OpenUdpTarget(const IpAddress& address, int port) {
    sockaddr_storage to;
    const socklen_t length = ToSockaddr(address, port, &to);
    const int fd = socket(to.ss_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), length) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int OpenUdpListener(int port) {
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_port = htons(static_cast<uint16_t>(port));
    self.sin_addr.s_addr = htonl(INADDR_ANY);
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0) {
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
