// A UDP peer on a loopback address for the network tests: sends OSC messages built with liblo
// and receives the player's messages.
#pragma once

#include <lo/lo.h>

#include <string>

class OscPeer {
  public:
    // A socket bound to address ("127.0.0.1", "127.0.0.2", "::1") and port (0: any free port).
    explicit OscPeer(const std::string& address = "127.0.0.1", int port = 0);
    ~OscPeer();
    OscPeer(const OscPeer&) = delete;
    OscPeer& operator=(const OscPeer&) = delete;

    int port() const { return port_; }

    // Sends message (freed here) to path at address:port.
    void Send(const std::string& address, int port, const char* path, lo_message message) const;
    // Sends raw bytes (damaged packets).
    void SendBytes(const std::string& address, int port, const std::string& bytes) const;

    // The next message to path received within timeout_s (others are skipped); null on
    // time-out. The caller frees it with lo_message_free.
    lo_message Receive(const char* path, double timeout_s = 5.0) const;

  private:
    int socket_ = -1;
    int family_ = 0;
    int port_ = 0;
};

// A UDP port on 127.0.0.1 that nothing uses at the moment (random, 20000..59999).
int FreeUdpPort();

// lo_message builders: "/zeltran/key" etc. with one or two arguments.
lo_message IntMessage(int value);
lo_message IntsMessage(int first, int second);
lo_message FloatsMessage(float first, float second);
lo_message StringMessage(const char* text);
