#include "network/send.hpp"

#include <lo/lo.h>

#include "common/console.hpp"
#include "platform/udp.hpp"

namespace {

constexpr size_t kLongestMessage = 128;  // the two messages take 32 and 52 bytes

int sockets[kMaxTargets];  // one connected socket per target; -1 where none could be opened
int target_count = 0;
SendCounts counts = {0, 0};

// Serialises message once and sends the bytes to every target; frees message.
void SendToTargets(lo_message message, const char* path) {
    char bytes[kLongestMessage];
    size_t size = lo_message_length(message, path);
    if (size <= sizeof bytes && lo_message_serialise(message, path, bytes, &size) != nullptr) {
        for (int i = 0; i < target_count; ++i) {
            if (sockets[i] >= 0 && SendDatagram(sockets[i], bytes, size) == SendResult::kSent) {
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
        const NetTarget& target = settings.targets[i];
        sockets[i] = OpenUdpTarget(target.address, target.port);
        if (sockets[i] < 0) {
            PrintError("[ NG ] Cannot open a UDP socket for %s; nothing is sent there.\n",
                       target.text.c_str());
        }
        served = served || sockets[i] >= 0;
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
    for (int i = 0; i < target_count; ++i) CloseUdpSocket(sockets[i]);
    target_count = 0;
}
