// Winsock sockets. A SOCKET is handed around as an int: Windows hands out small handle numbers,
// and the callers keep -1 for "none".
#include <cstring>

#include "platform/socket_api.hpp"

namespace {

const bool winsock_ready = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();

SOCKET Handle(int socket) {
    return static_cast<SOCKET>(socket);
}

// A socket as an int, closed and -1 when it could not be set up.
int Opened(SOCKET handle, bool set_up) {
    if (handle == INVALID_SOCKET) return -1;
    if (!set_up) {
        closesocket(handle);
        return -1;
    }
    return static_cast<int>(handle);
}

}  // namespace

int OpenUdpTarget(const IpAddress& address, int port) {
    (void)winsock_ready;
    sockaddr_storage to;
    const socklen_t length = ToSockaddr(address, port, &to);
    const SOCKET handle = socket(to.ss_family, SOCK_DGRAM, 0);
    u_long non_blocking = 1;
    return Opened(handle, handle != INVALID_SOCKET &&
                              ioctlsocket(handle, FIONBIO, &non_blocking) == 0 &&
                              connect(handle, reinterpret_cast<const sockaddr*>(&to), length) == 0);
}

int OpenUdpListener(int port) {
    (void)winsock_ready;
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_port = htons(static_cast<uint16_t>(port));
    self.sin_addr.s_addr = htonl(INADDR_ANY);
    const SOCKET handle = socket(AF_INET, SOCK_DGRAM, 0);
    // Without this, Windows lets a second program bind the same port and share its datagrams.
    BOOL exclusive = TRUE;
    u_long non_blocking = 1;
    return Opened(
        handle, handle != INVALID_SOCKET &&
                    setsockopt(handle, SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                               reinterpret_cast<const char*>(&exclusive), sizeof exclusive) == 0 &&
                    bind(handle, reinterpret_cast<const sockaddr*>(&self), sizeof self) == 0 &&
                    ioctlsocket(handle, FIONBIO, &non_blocking) == 0);
}

SendResult SendDatagram(int socket, const void* data, size_t size) {
    const int sent =
        send(Handle(socket), static_cast<const char*>(data), static_cast<int>(size), 0);
    return sent == static_cast<int>(size) ? SendResult::kSent : SendResult::kDropped;
}

bool WaitReadable(int socket, int timeout_ms) {
    WSAPOLLFD wait{Handle(socket), POLLRDNORM, 0};
    return WSAPoll(&wait, 1, timeout_ms) > 0;
}

int ReceiveDatagrams(int socket, Datagram* datagrams, int count) {
    int got = 0;
    for (; got < count; ++got) {
        Datagram& datagram = datagrams[got];
        sockaddr_storage sender;
        int sender_length = sizeof sender;
        const int size = recvfrom(Handle(socket), reinterpret_cast<char*>(datagram.data),
                                  static_cast<int>(datagram.capacity), 0,
                                  reinterpret_cast<sockaddr*>(&sender), &sender_length);
        // A datagram longer than the buffer is an error on Windows, with the buffer filled.
        const bool truncated = size < 0 && WSAGetLastError() == WSAEMSGSIZE;
        if (size < 0 && !truncated) break;
        datagram.size = truncated ? datagram.capacity : static_cast<size_t>(size);
        datagram.truncated = truncated;
        FromSockaddr(reinterpret_cast<const sockaddr*>(&sender), &datagram.sender);
    }
    return got;
}

void CloseUdpSocket(int socket) {
    if (socket >= 0) closesocket(Handle(socket));
}
