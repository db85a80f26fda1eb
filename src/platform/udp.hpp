// UDP sockets and IP addresses for the network module: numeric parsing, one look-up of a host
// name, sends that never wait and receives in batches.
#pragma once

#include <cstddef>
#include <cstdint>

struct IpAddress {
    int family;         // 4 or 6; 0 while unset
    uint8_t bytes[16];  // network byte order; IPv4 uses the first 4
};

// Parses a numeric IPv4 ("192.168.10.5") or IPv6 ("fe80::1", no brackets) address.
bool ParseIpAddress(const char* text, IpAddress* address);

// A numeric address, or else the first address the resolver gives for the name (this may wait
// for the name service). False when there is none.
bool ResolveHost(const char* host, IpAddress* address);

// Opens a non-blocking UDP socket connected to address:port (a connected socket spares the
// route look-up of every send); -1 on failure.
int OpenUdpTarget(const IpAddress& address, int port);

// Opens a UDP socket bound to port on every IPv4 interface, for ReceiveDatagrams; -1 when the port
// cannot be bound (another program holds it).
int OpenUdpListener(int port);

enum class SendResult { kSent, kDropped };

// Sends one datagram on a socket from OpenUdpTarget without waiting; kDropped when the send
// buffer is full or the system refused it (no route, or the target's port was found closed).
SendResult SendDatagram(int socket, const void* data, size_t size);

// A datagram read by ReceiveDatagrams into data (capacity bytes): its length, whether it was
// longer than the buffer, and its sender.
struct Datagram {
    uint8_t* data;
    size_t capacity;
    size_t size;
    bool truncated;
    IpAddress sender;
};

// Waits up to timeout_ms for a datagram on socket; false when none came in time.
bool WaitReadable(int socket, int timeout_ms);

// Reads the datagrams waiting on socket, at most count, in one system call and without waiting;
// returns how many were read (0 when none or on an error).
int ReceiveDatagrams(int socket, Datagram* datagrams, int count);

// Closes a socket from OpenUdpTarget or OpenUdpListener (nothing for -1).
void CloseUdpSocket(int socket);
