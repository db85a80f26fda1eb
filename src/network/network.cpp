#include "network/network.hpp"

#include <cinttypes>

#include "block/shared_block.hpp"
#include "common/console.hpp"
#include "common/state.hpp"
#include "network/send.hpp"
#include "platform/clock.hpp"
#include "schedule/schedule.hpp"

namespace {

constexpr char kNetworkSettingsFile[] = "SetNetwork.txt";
constexpr uint64_t kMotionPeriodMicros = 1000000 / 60;  // at most 60 motion messages a second
constexpr uint64_t kReportPeriodMicros = 1000000;       // counts line of the web-camera report
constexpr int kWebCameraReport = 2;                     // DISP_WEB_CAM_INFO of the `i` key

NetworkSettings settings;
bool in_use = false;
bool receiving = false;
bool held[kCameraSlots];              // slot last written from the network
uint64_t refreshed_at[kCameraSlots];  // ClockMicros of that write
bool motion_sent = false;
uint64_t motion_sent_at = 0;
bool status_sent = false;
uint64_t status_sent_at = 0;
uint64_t reported_at = 0;

bool OwnCameraSlot(int slot) {
    return camera_on != 0 && slot == CamChan;
}

// True once period has passed since *last (or nothing was done yet); then *last becomes now.
bool Due(uint64_t now, uint64_t period, bool* done, uint64_t* last) {
    if (*done && now - *last < period) return false;
    *done = true;
    *last = now;
    return true;
}

void SendOutput(uint64_t now) {
    if (settings.target_count == 0) return;
    if (camera_on != 0 && Due(now, kMotionPeriodMicros, &motion_sent, &motion_sent_at)) {
        SendMotion(CamChan, DifferenceSum);
    }
    const auto status_period = static_cast<uint64_t>(settings.status_seconds * 1e6);
    if (settings.status_seconds > 0.0 && Due(now, status_period, &status_sent, &status_sent_at)) {
        SendStatus(folder_index + 1, static_cast<int32_t>(shown_frame_no), MaxCount,
                   camera_on != 0 ? 1 : 0, static_cast<float>(f_rate));
        const ScheduleStatus hours = CurrentScheduleStatus();
        if (hours.in_use) {
            SendSchedule(hours.open ? 1 : 0,
                         hours.next_change == 0
                             ? -1
                             : static_cast<int32_t>(hours.next_change - WallClockSeconds()));
        }
    }
}

void ReportCounts(uint64_t now) {
    if (DISP_WEB_CAM_INFO != kWebCameraReport || now - reported_at < kReportPeriodMicros) return;
    reported_at = now;
    const ReceiveCounts in = CountsOfReceiving();
    const SendCounts out = CountsOfSending();
    Print("*[NET received=%" PRIu64 " ignored=%" PRIu64 " refused=%" PRIu64 " sent=%" PRIu64
          " dropped=%" PRIu64 " ]\n",
          in.received, in.ignored, in.refused, out.sent, out.dropped);
}

}  // namespace

void StartNetwork() {
    if (!ReadNetworkSettings(kNetworkSettingsFile, &settings)) return;
    if (settings.listen_port != 0) receiving = StartReceiving(settings);
    const bool sending = settings.target_count > 0 && OpenTargets(settings);
    in_use = receiving || sending;
}

const NetworkSettings& NetworkSettingsRead() {
    return settings;
}

bool NetworkInUse() {
    return in_use;
}

void ApplyNetworkInput() {
    int32_t values[kCameraSlots];
    bool fresh[kCameraSlots];
    TakeRemoteMotion(values, fresh);
    const uint64_t now = ClockMicros();
    for (int slot = 0; slot < kCameraSlots; ++slot) {
        if (!fresh[slot]) continue;
        // This copy's own camera has the last word on its slot.
        if (OwnCameraSlot(slot)) {
            CountIgnored();
            continue;
        }
        PublishSlot(slot, values[slot]);
        held[slot] = true;
        refreshed_at[slot] = now;
    }
    const uint64_t expire = static_cast<uint64_t>(settings.expire_ms) * 1000;
    for (int slot = 0; slot < kCameraSlots; ++slot) {
        if (!held[slot] || now - refreshed_at[slot] <= expire) continue;
        held[slot] = false;
        if (!OwnCameraSlot(slot)) PublishSlot(slot, 0);
    }
}

void ServeNetwork() {
    if (!in_use) return;
    ApplyNetworkInput();
    const uint64_t now = ClockMicros();
    SendOutput(now);
    ReportCounts(now);
}

bool TakeNetworkCommand(RemoteCommand* command) {
    return TakeRemoteCommand(command);
}

void StopNetwork() {
    if (!in_use) return;
    StopReceiving();
    // Copies on this computer must not go on playing from a link that is gone.
    for (int slot = 0; slot < kCameraSlots; ++slot) {
        if (held[slot] && !OwnCameraSlot(slot)) PublishSlot(slot, 0);
        held[slot] = false;
    }
    CloseTargets();
    in_use = receiving = false;
}
