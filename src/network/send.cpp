#include "network/send.hpp"

#include <lo/lo.h>

#include "common/console.hpp"
#include "platform/udp.hpp"

namespace {

constexpr size_t kLongestMessage = 128;  // the two messages take 32 and 52 bytes

NetTarget targets[kMaxTargets];
int target_count = 0;
int socket_v4 = -1;
int socket_v6 = -1;
SendCounts counts = {0, 0};

int SocketFor(const IpAddress& address) {
    return address.family == 4 ? socket_v4 : socket_v6;
}

// Serialises message once and sends the bytes to every target; frees message.
void SendToTargets(lo_message message, const char* path) {
    char bytes[kLongestMessage];
    size_t size = lo_message_length(message, path);
    if (size <= sizeof bytes && lo_message_serialise(message, path, bytes, &size) != nullptr) {
        for (int i = 0; i < target_count; ++i) {
            const int socket = SocketFor(targets[i].address);
            if (socket >= 0 && SendDatagram(socket, targets[i].address, targets[i].port, bytes,
                                            size) == SendResult::kSent) {
                ++counts.sent;
            } else {
                ++counts.dropped;
            }
        }
    }
    lo_message_free(message);
}

}  // namespace

bool OpenTargets(const NetworkSettings& settings) {
    target_count = settings.target_count;
    bool served = false;
    for (int i = 0; i < target_count; ++i) {
        targets[i] = settings.targets[i];
        int& socket = targets[i].address.family == 4 ? socket_v4 : socket_v6;
        if (socket < 0) socket = OpenUdpSender(targets[i].address.family);
        if (socket < 0) {
            PrintError("[ NG ] Cannot open a UDP socket for %s; nothing is sent there.\n",
                       targets[i].text.c_str());
        }
        served = served || socket >= 0;
    }
    return served;
}

void SendMotion(int32_t slot, int32_t value) {
    lo_message message = lo_message_new();
    lo_message_add_int32(message, slot);
    lo_message_add_int32(message, value);
    SendToTargets(message, "/zeltran/motion");
}

void SendStatus(int32_t folder, int32_t frame, int32_t frames, int32_t camera, float rate) {
    lo_message message = lo_message_new();
    lo_message_add_int32(message, folder);
    lo_message_add_int32(message, frame);
    lo_message_add_int32(message, frames);
    lo_message_add_int32(message, camera);
    lo_message_add_float(message, rate);
    SendToTargets(message, "/zeltran/status");
}

SendCounts CountsOfSending() {
    return counts;
}

void CloseTargets() {
    CloseUdpSocket(socket_v4);
    CloseUdpSocket(socket_v6);
    socket_v4 = socket_v6 = -1;
    target_count = 0;
}
