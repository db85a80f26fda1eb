// Batched receiving on real loopback sockets.
#include "platform/udp.hpp"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

// An IPv6 socket bound to the IPv4 loopback address in its mapped form, so IPv4 packets reach it
// and their senders come as ::ffff:a.b.c.d; its port in *port.
int MappedLoopbackSocket(int* port) {
    const int fd = socket(AF_INET6, SOCK_DGRAM, 0);
    const int off = 0;
    setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    inet_pton(AF_INET6, "::ffff:127.0.0.1", &address.sin6_addr);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin6_port);
    return fd;
}

TEST(UdpReceive, OneCallTakesTheWaitingDatagramsWithTheirSizesAndIPv4Senders) {
    int port = 0;
    const int receiver = MappedLoopbackSocket(&port);
    ASSERT_GE(receiver, 0);
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.0.2", &from.sin_addr);
    ASSERT_EQ(bind(sender, reinterpret_cast<sockaddr*>(&from), sizeof from), 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    for (const std::string& text : {std::string("abc"), std::string(40, 'x')}) {
        sendto(sender, text.data(), text.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }

    uint8_t buffers[3][16];
    Datagram datagrams[3];
    for (int i = 0; i < 3; ++i) datagrams[i] = {buffers[i], sizeof buffers[i], 0, false, {}};
    ASSERT_TRUE(WaitReadable(receiver, 1000));
    ASSERT_EQ(ReceiveDatagrams(receiver, datagrams, 3), 2);
    EXPECT_EQ(datagrams[0].size, 3u);
    EXPECT_FALSE(datagrams[0].truncated);
    EXPECT_EQ(std::memcmp(buffers[0], "abc", 3), 0);
    EXPECT_TRUE(datagrams[1].truncated);  // longer than its 16-byte buffer
    IpAddress expected;
    ASSERT_TRUE(ParseIpAddress("127.0.0.2", &expected));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(datagrams[i].sender.family, 4);
        EXPECT_EQ(std::memcmp(datagrams[i].sender.bytes, expected.bytes, 4), 0);
    }
    EXPECT_EQ(ReceiveDatagrams(receiver, datagrams, 3), 0);  // nothing left: no wait
    close(sender);
    close(receiver);
}

}  // namespace
