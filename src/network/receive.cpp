#include "network/receive.hpp"

#include <lo/lo.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "common/console.hpp"
#include "common/state.hpp"
#include "platform/udp.hpp"

namespace {

constexpr int kCommandQueue = 256;  // keys and folders waiting; more are ignored
constexpr int kLastKeyByte = 254;   // 255 is "no key"
// Waking a thread costs about 30 us of CPU on a virtual machine, about a tenth of an idle
// player's cycle time per second at 60 messages a second. So the receiving thread waits on its
// socket in slices of 100 ms (liblo's own server thread wakes every 10 ms), reads what came in one
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
lo_server server = nullptr;
std::vector<uint8_t> batch_memory;  // kBatch datagrams, held while the thread runs
std::thread receiver;
std::atomic<bool> serving{false};

// liblo reports a failed bind through the error handler only; the text is kept for the report.
std::atomic<bool> starting{false};
std::string start_error;

// liblo's arguments lie at 4-byte offsets in the packet, but lo_arg is aligned for 8-byte types:
// the 4-byte values are copied out rather than read through the union.
int32_t IntOf(const lo_arg* arg) {
    int32_t value;
    std::memcpy(&value, arg, sizeof value);
    return value;
}

// An int32 or float32 argument as a number.
bool NumberOf(char type, const lo_arg* arg, double* number) {
    if (type == LO_INT32) {
        *number = IntOf(arg);
        return true;
    }
    if (type == LO_FLOAT) {
        float value;
        std::memcpy(&value, arg, sizeof value);
        *number = value;
        return true;
    }
    return false;
}

// `/zeltran/motion SLOT VALUE`: SLOT a whole number 0..31, VALUE finite, not negative, within
// int32 (a float is cut to its whole part).
bool QueueMotion(const char* types, lo_arg** argv, int argc) {
    double slot = 0.0;
    double value = 0.0;
    if (argc != 2 || !NumberOf(types[0], argv[0], &slot) || !NumberOf(types[1], argv[1], &value)) {
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
bool QueueKey(const char* types, lo_arg** argv, int argc) {
    if (argc != 1) return false;
    int32_t key = 0;
    if (types[0] == LO_INT32) key = IntOf(argv[0]);
    if (types[0] == LO_STRING) key = *reinterpret_cast<const unsigned char*>(argv[0]);
    if (key < 1 || key > kLastKeyByte) return false;
    return QueueCommand(key, 0);
}

bool QueueFolder(const char* types, lo_arg** argv, int argc) {
    if (argc != 1 || types[0] != LO_INT32) return false;
    const int32_t folder = IntOf(argv[0]);
    if (folder < 1 || folder > kLastRemoteFolder) return false;
    return QueueCommand(0, folder);
}

bool Queue(const char* path, const char* types, lo_arg** argv, int argc) {
    if (std::strcmp(path, "/zeltran/motion") == 0) return QueueMotion(types, argv, argc);
    if (std::strcmp(path, "/zeltran/key") == 0) return QueueKey(types, argv, argc);
    if (std::strcmp(path, "/zeltran/folder") == 0) return QueueFolder(types, argv, argc);
    return false;
}

// With queue_lock held: clears `queued` once the queue holds nothing.
void NoteIfEmpty() {
    if (command_count > 0) return;
    for (const bool fresh : motion_fresh) {
        if (fresh) return;
    }
    queued = false;
}

// Reads the socket liblo bound, so that a batch of datagrams costs one system call; liblo takes
// each one apart.
void Serve() {
    const int socket = lo_server_get_socket_fd(server);
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
                DispatchDatagram(server, datagram.data, datagram.size,
                                 SenderAllowed(accepted, datagram.sender));
            }
        }
        std::this_thread::sleep_for(kBatchRest);
    }
}

int HandleMessage(const char* path, const char* types, lo_arg** argv, int argc,
                  lo_message /*message*/, void* /*user_data*/) {
    if (Queue(path, types, argv, argc)) {
        ++received;
    } else {
        ++ignored;
    }
    return 0;  // handled: no other method runs
}

}  // namespace

void ReceiveError(int number, const char* message, const char* where) {
    if (!starting) {
        ++ignored;
        return;
    }
    start_error = std::string(message ? message : "") + (where ? std::string(" ") + where : "") +
                  " (" + std::to_string(number) + ")";
}

void AttachDispatch(lo_server server) {
    // A bundle time-tagged for later would otherwise wait in liblo's queue, which has no limit.
    lo_server_enable_queue(server, 0, 1);
    lo_server_add_method(server, nullptr, nullptr, HandleMessage, nullptr);
}

bool StartReceiving(const NetworkSettings& settings) {
    accepted = settings;
    const std::string port = std::to_string(settings.listen_port);
    start_error.clear();
    starting = true;
    server = lo_server_new_with_proto(port.c_str(), LO_UDP, ReceiveError);
    starting = false;
    if (server == nullptr) {
        PrintError("[ NG ] Cannot receive on UDP port %s: %s. Running on without receiving.\n",
                   port.c_str(), start_error.c_str());
        return false;
    }
    AttachDispatch(server);
    batch_memory.resize(kBatch * kLongestDatagram);
    serving = true;
    try {
        receiver = std::thread(Serve);
    } catch (const std::system_error&) {
        PrintError("[ NG ] Cannot start the receiving thread. Running on without receiving.\n");
        serving = false;
        batch_memory = {};
        lo_server_free(server);
        server = nullptr;
        return false;
    }
    return true;
}

void StopReceiving() {
    if (server == nullptr) return;
    serving = false;
    receiver.join();
    lo_server_free(server);
    server = nullptr;
    batch_memory = {};
}

void DispatchDatagram(lo_server server, void* data, size_t size, bool sender_allowed) {
    // A sender that may not be heard is not even taken apart.
    if (!sender_allowed) {
        ++refused;
        return;
    }
    lo_server_dispatch_data(server, data, size);
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
