// The system's socket headers, for the platform files that use sockets on both systems: BSD
// sockets, or Winsock 2 on Windows.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
constexpr int kShutBoth = SD_BOTH;
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
constexpr int kShutBoth = SHUT_RDWR;
#endif

#include "platform/udp.hpp"

// The address of a socket address (an IPv4 sender seen through an IPv6 socket as IPv4).
void FromSockaddr(const sockaddr* from, IpAddress* address);

// The socket address of address:port; returns its length.
socklen_t ToSockaddr(const IpAddress& address, int port, sockaddr_storage* to);
