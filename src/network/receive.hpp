// Receiving OSC over UDP. A thread reads the datagrams from its socket in batches, takes each one
// apart (network/osc.hpp), validates each message and queues it. The main thread takes the queue
// at its key poll, so the shared block and the program state keep one writer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "network/settings.hpp"

constexpr int32_t kLastRemoteFolder = 10000;  // `/zeltran/folder` takes 1..10000

// A key or folder message, in order of arrival: key is a byte 1..254 and folder 0, or folder is
// 1..10000 and key 0.
struct RemoteCommand {
    int32_t key;
    int32_t folder;
};

// Counts since the start: messages received (taken), messages ignored (not understood, or a
// damaged packet), packets refused (from a sender the allow rules do not accept).
struct ReceiveCounts {
    uint64_t received;
    uint64_t ignored;
    uint64_t refused;
};

// Starts the receiving thread on settings.listen_port, accepting senders by settings' allow
// rules. False, with the reason on stderr, when the port cannot be bound.
bool StartReceiving(const NetworkSettings& settings);

// Ends the receiving thread (within 0.15 s) and frees the server (nothing when none runs).
void StopReceiving();

// The motion values received since the last call: fresh[slot] is set where values[slot] holds a
// new value (the last one received for that slot).
void TakeRemoteMotion(int32_t* values, bool* fresh);

// The oldest key or folder message not taken yet; false when there is none.
bool TakeRemoteCommand(RemoteCommand* command);

ReceiveCounts CountsOfReceiving();

// Counts a message the main thread turned down (motion for this copy's own camera slot).
void CountIgnored();

// Takes one datagram apart and queues its messages (immediately, never held for a bundle's time
// tag); a damaged packet counts as ignored, and one from a sender that is not allowed is only
// counted as refused.
void DispatchDatagram(const void* data, size_t size, bool sender_allowed);
