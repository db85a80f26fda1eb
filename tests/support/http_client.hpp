// A bare HTTP client on loopback for the status server's tests: whole requests as raw bytes,
// half-sent requests and idle connections.
#pragma once

#include <string>

// A TCP port on 127.0.0.1 that was free a moment ago.
int FreeTcpPort();

// A connected socket to address:port ("127.0.0.1", "::1"); -1 when refused.
int ConnectLoopback(int port, const std::string& address = "127.0.0.1");

// Sends request on a new connection and reads the answer until the server closes the connection
// or timeout_s passes; "" when nothing came.
std::string HttpExchange(int port, const std::string& request, double timeout_s = 5.0,
                         const std::string& address = "127.0.0.1");

// method path with Connection: close.
std::string HttpRequestOf(const std::string& method, const std::string& path);
std::string HttpGet(int port, const std::string& path, const std::string& address = "127.0.0.1");

// The status code of a response (0 when there is none) and its body.
int HttpStatus(const std::string& response);
std::string HttpBody(const std::string& response);
