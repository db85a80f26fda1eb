// A UDP peer on a loopback address for the network tests: sends OSC messages built with liblo
// and receives the player's messages.
#pragma once

#include <lo/lo.h>

#include <string>

class OscPeer {
  public:
    // A socket bound to address ("127.0.0.1", "127.0.0.2", "::1") at a free port.
    explicit OscPeer(const std::string& address = "127.0.0.1");
    ~OscPeer();
    OscPeer(const OscPeer&) = delete;
    OscPeer& operator=(const OscPeer&) = delete;

    int port() const { return port_; }
    // Sends raw bytes to address:port.
    void SendBytes(const std::string& address, int port, const std::string& bytes) const;
    // Sends path with arguments of types ("ii", "ff", "s" ...) to address:port.
    template <typename... Args>
    void Send(const std::string& address, int port, const char* path, const char* types,
              Args... args) const {
        lo_message message = lo_message_new();
        lo_message_add(message, types, args...);
        SendMessage(address, port, path, message);
    }
    // Sends message (freed here).
    void SendMessage(const std::string& address, int port, const char* path,
                     lo_message message) const;
    // The next message to path within timeout_s (others are skipped); null on time-out. The
    // caller frees it with lo_message_free.
    lo_message Receive(const char* path, double timeout_s = 5.0) const;

  private:
    int socket_ = -1;
    int port_ = 0;
};

// A UDP port on 127.0.0.1 that was free a moment ago.
int FreeUdpPort();
