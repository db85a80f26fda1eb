// A small HTTP server on one port (libmicrohttpd): one thread serves every connection in turn,
// with hard limits, so a slow or hostile client cannot hold the server or the player for long.
#pragma once

#include <cstdint>
#include <string>

#include "platform/udp.hpp"

// A request whose head arrived whole: method and path (without the query) as sent, head_bytes
// the size of its request line and header lines.
struct HttpRequest {
    const char* method;
    const char* path;
    IpAddress client;
    size_t head_bytes;
};

// The answer to a request: status code, content type, the bytes of the body, and the methods
// allowed (sent as Allow with a 405; empty otherwise).
struct HttpReply {
    int status = 200;
    const char* type = "text/plain; charset=utf-8";
    std::string body;
    const char* allow = "";
};

// Answers one request; called on the server's thread only, one request at a time.
using HttpHandler = void (*)(const HttpRequest& request, HttpReply* reply);

// Starts serving port on every address (IPv6 and IPv4). Limits: 16 connections at once; a
// request head must arrive whole within 2 s of the connection or of its previous answer, and an
// answer must be taken within 10 s; while all places are taken, a connection that has not sent
// its head for 0.1 s gives its place to a new one. False, with the reason on stderr, when the
// port cannot be bound.
bool StartHttpServer(int port, HttpHandler handler);

// Closes every connection and ends the server's threads (nothing when none runs).
void StopHttpServer();
