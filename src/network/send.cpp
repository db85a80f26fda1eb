#include "network/send.hpp"

#include "common/console.hpp"
#include "network/osc.hpp"
#include "platform/udp.hpp"

namespace {

constexpr size_t kLongestMessage = 128;  // the three messages take 32, 52 and 32 bytes

int sockets[kMaxTargets];  // one connected socket per target; -1 where none could be opened
int target_count = 0;
SendCounts counts = {0, 0};

// Encodes the message once and sends the bytes to every target.
void SendToTargets(const char* path, const char* types, const OscNumber* values) {
    uint8_t bytes[kLongestMessage];
    const size_t size = EncodeOscMessage(path, types, values, bytes, sizeof bytes);
    if (size == 0) return;
    for (int i = 0; i < target_count; ++i) {
        if (sockets[i] >= 0 && SendDatagram(sockets[i], bytes, size) == SendResult::kSent) {
            ++counts.sent;
        } else {
            ++counts.dropped;
        }
    }
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
    const OscNumber values[] = {{.int32 = slot}, {.int32 = value}};
    SendToTargets("/zeltran/motion", "ii", values);
}

void SendStatus(int32_t folder, int32_t frame, int32_t frames, int32_t camera, float rate) {
    const OscNumber values[] = {{.int32 = folder},
                                {.int32 = frame},
                                {.int32 = frames},
                                {.int32 = camera},
                                {.float32 = rate}};
    SendToTargets("/zeltran/status", "iiiif", values);
}

void SendSchedule(int32_t open, int32_t seconds_to_change) {
    const OscNumber values[] = {{.int32 = open}, {.int32 = seconds_to_change}};
    SendToTargets("/zeltran/schedule", "ii", values);
}

SendCounts CountsOfSending() {
    return counts;
}

void CloseTargets() {
    for (int i = 0; i < target_count; ++i) CloseUdpSocket(sockets[i]);
    target_count = 0;
}
