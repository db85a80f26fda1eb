#include "support/http_client.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

int FreeTcpPort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    close(probe);
    return ntohs(address.sin_port);
}

int ConnectLoopback(int port, const std::string& address) {
    sockaddr_storage target{};
    socklen_t size = 0;
    const bool v6 = address.find(':') != std::string::npos;
    if (v6) {
        auto* v6_address = reinterpret_cast<sockaddr_in6*>(&target);
        v6_address->sin6_family = AF_INET6;
        v6_address->sin6_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET6, address.c_str(), &v6_address->sin6_addr);
        size = sizeof *v6_address;
    } else {
        auto* v4_address = reinterpret_cast<sockaddr_in*>(&target);
        v4_address->sin_family = AF_INET;
        v4_address->sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, address.c_str(), &v4_address->sin_addr);
        size = sizeof *v4_address;
    }
    const int connection = socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM, 0);
    if (connect(connection, reinterpret_cast<sockaddr*>(&target), size) != 0) {
        close(connection);
        return -1;
    }
    return connection;
}

std::string HttpExchange(int port, const std::string& request, double timeout_s,
                         const std::string& address) {
    const int connection = ConnectLoopback(port, address);
    if (connection < 0) return "";
    send(connection, request.data(), request.size(), MSG_NOSIGNAL);
    std::string response;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd ready = {connection, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[65536];
        const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        response.append(buffer, static_cast<size_t>(got));
    }
    close(connection);
    return response;
}

std::string HttpRequestOf(const std::string& method, const std::string& path) {
    return method + " " + path + " HTTP/1.1\r\nHost: zeltran\r\nConnection: close\r\n\r\n";
}

std::string HttpGet(int port, const std::string& path, const std::string& address) {
    return HttpExchange(port, HttpRequestOf("GET", path), 5.0, address);
}

int HttpStatus(const std::string& response) {
    if (response.compare(0, 9, "HTTP/1.1 ") != 0) return 0;
    return std::atoi(response.c_str() + 9);
}

std::string HttpBody(const std::string& response) {
    const size_t head_end = response.find("\r\n\r\n");
    return head_end == std::string::npos ? "" : response.substr(head_end + 4);
}
