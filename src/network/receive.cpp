#include "network/receive.hpp"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "common/console.hpp"
#include "common/state.hpp"
#include "network/osc.hpp"
#include "platform/udp.hpp"

namespace {

constexpr int kCommandQueue = 256;  // keys and folders waiting; more are ignored
constexpr int kLastKeyByte = 254;   // 255 is "no key"
// Waking a thread costs about 30 us of CPU on a virtual machine, about a tenth of an idle
// player's cycle time per second at 60 messages a second. So the receiving thread waits on its
// socket in slices of 100 ms, reads what came in one
// system call and then rests 50 ms, so that a stream of messages wakes it at most 20 times a
// second. Ending the thread waits at most one slice and one rest.
constexpr int kWaitSliceMs = 100;
constexpr auto kBatchRest = std::chrono::milliseconds(50);
constexpr int kBatch = 8;                   // datagrams read at once
constexpr size_t kLongestDatagram = 65536;  // more than UDP can carry

std::mutex queue_lock;  // guards the motion table and the command queue
int32_t motion_values[kCameraSlots];
bool motion_fresh[kCameraSlots];
RemoteCommand commands[kCommandQueue];
int command_first = 0;
int command_count = 0;

// Set by the receiving thread whenever it queues something, so that the key poll (a thousand times
// a second) looks at the queue only when there is something in it.
std::atomic<bool> queued{false};
std::atomic<uint64_t> received{0};
std::atomic<uint64_t> ignored{0};
std::atomic<uint64_t> refused{0};

NetworkSettings accepted;  // read-only while the thread runs
int server_socket = -1;
std::vector<uint8_t> batch_memory;  // kBatch datagrams, held while the thread runs
std::thread receiver;
std::atomic<bool> serving{false};

// The reason printed when the port cannot be bound, the same words as the receivers before.
constexpr char kBindFailure[] = "cannot find free port (9904)";

// An int32 or float32 argument as a number.
bool NumberOf(const OscArgument& argument, double* number) {
    if (argument.type == 'i') {
        *number = argument.int32;
        return true;
    }
    if (argument.type == 'f') {
        *number = argument.float32;
        return true;
    }
    return false;
}

// `/zeltran/motion SLOT VALUE`: SLOT a whole number 0..31, VALUE finite, not negative, within
// int32 (a float is cut to its whole part).
bool QueueMotion(const OscMessage& message) {
    double slot = 0.0;
    double value = 0.0;
    if (message.count != 2 || !NumberOf(message.arguments[0], &slot) ||
        !NumberOf(message.arguments[1], &value)) {
        return false;
    }
    if (!(slot >= 0.0 && slot < kCameraSlots) || slot != std::floor(slot)) return false;
    if (!(value >= 0.0 && value <= INT32_MAX)) return false;  // also refuses NaN
    std::lock_guard<std::mutex> hold(queue_lock);
    motion_values[static_cast<int>(slot)] = static_cast<int32_t>(value);
    motion_fresh[static_cast<int>(slot)] = true;
    queued = true;
    return true;
}

bool QueueCommand(int32_t key, int32_t folder) {
    std::lock_guard<std::mutex> hold(queue_lock);
    if (command_count >= kCommandQueue) return false;
    commands[(command_first + command_count++) % kCommandQueue] = {key, folder};
    queued = true;
    return true;
}

// `/zeltran/key BYTE`: an int32, or a string whose first byte counts.
bool QueueKey(const OscMessage& message) {
    if (message.count != 1) return false;
    const OscArgument& argument = message.arguments[0];
    int32_t key = 0;
    if (argument.type == 'i') key = argument.int32;
    if (argument.type == 's') key = *reinterpret_cast<const unsigned char*>(argument.string);
    if (key < 1 || key > kLastKeyByte) return false;
    return QueueCommand(key, 0);
}

bool QueueFolder(const OscMessage& message) {
    if (message.count != 1 || message.arguments[0].type != 'i') return false;
    const int32_t folder = message.arguments[0].int32;
    if (folder < 1 || folder > kLastRemoteFolder) return false;
    return QueueCommand(0, folder);
}

bool Queue(const OscMessage& message) {
    if (std::strcmp(message.path, "/zeltran/motion") == 0) return QueueMotion(message);
    if (std::strcmp(message.path, "/zeltran/key") == 0) return QueueKey(message);
    if (std::strcmp(message.path, "/zeltran/folder") == 0) return QueueFolder(message);
    return false;
}

void HandleMessage(const OscMessage& message) {
    if (Queue(message)) {
        ++received;
    } else {
        ++ignored;
    }
}

// With queue_lock held: clears `queued` once the queue holds nothing.
void NoteIfEmpty() {
    if (command_count > 0) return;
    for (const bool fresh : motion_fresh) {
        if (fresh) return;
    }
    queued = false;
}

// Reads the socket in batches, so that a batch of datagrams costs one system call.
void Serve() {
    const int socket = server_socket;
    Datagram datagrams[kBatch];
    for (int i = 0; i < kBatch; ++i) {
        datagrams[i] = {&batch_memory[i * kLongestDatagram], kLongestDatagram, 0, false, {}};
    }
    while (serving) {
        if (!WaitReadable(socket, kWaitSliceMs)) continue;
        int count = kBatch;
        while (count == kBatch) {
            count = ReceiveDatagrams(socket, datagrams, kBatch);
            for (int i = 0; i < count; ++i) {
                const Datagram& datagram = datagrams[i];
                if (datagram.truncated) {
                    ++ignored;
                    continue;
                }
                DispatchDatagram(datagram.data, datagram.size,
                                 SenderAllowed(accepted, datagram.sender));
            }
        }
        std::this_thread::sleep_for(kBatchRest);
    }
}

}  // namespace

bool StartReceiving(const NetworkSettings& settings) {
    accepted = settings;
    server_socket = OpenUdpListener(settings.listen_port);
    if (server_socket < 0) {
        PrintError("[ NG ] Cannot receive on UDP port %d: %s. Running on without receiving.\n",
                   settings.listen_port, kBindFailure);
        return false;
    }
    batch_memory.resize(kBatch * kLongestDatagram);
    serving = true;
    try {
        receiver = std::thread(Serve);
    } catch (const std::system_error&) {
        PrintError("[ NG ] Cannot start the receiving thread. Running on without receiving.\n");
        serving = false;
        batch_memory = {};
        CloseUdpSocket(server_socket);
        server_socket = -1;
        return false;
    }
    return true;
}

void StopReceiving() {
    if (server_socket < 0) return;
    serving = false;
    receiver.join();
    CloseUdpSocket(server_socket);
    server_socket = -1;
    batch_memory = {};
}

void DispatchDatagram(const void* data, size_t size, bool sender_allowed) {
    // A sender that may not be heard is not even taken apart.
    if (!sender_allowed) {
        ++refused;
        return;
    }
    ignored += static_cast<uint64_t>(
        DispatchOscPacket(static_cast<const uint8_t*>(data), size, HandleMessage));
}

void TakeRemoteMotion(int32_t* values, bool* fresh) {
    if (!queued) {
        for (int slot = 0; slot < kCameraSlots; ++slot) fresh[slot] = false;
        return;
    }
    std::lock_guard<std::mutex> hold(queue_lock);
    for (int slot = 0; slot < kCameraSlots; ++slot) {
        values[slot] = motion_values[slot];
        fresh[slot] = motion_fresh[slot];
        motion_fresh[slot] = false;
    }
    NoteIfEmpty();
}

bool TakeRemoteCommand(RemoteCommand* command) {
    if (!queued) return false;
    std::lock_guard<std::mutex> hold(queue_lock);
    if (command_count == 0) return false;
    *command = commands[command_first];
    command_first = (command_first + 1) % kCommandQueue;
    --command_count;
    NoteIfEmpty();
    return true;
}

ReceiveCounts CountsOfReceiving() {
    return {received, ignored, refused};
}

void CountIgnored() {
    ++ignored;
}
