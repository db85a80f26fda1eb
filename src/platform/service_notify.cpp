#include "platform/service_notify.hpp"

#include <systemd/sd-daemon.h>
#include <time.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/console.hpp"

namespace {

enum class Manager { kUntried, kAbsent, kPresent };
Manager manager = Manager::kUntried;
uint64_t ping_period_us = 0;  // half of WATCHDOG_USEC; 0: no watchdog
uint64_t last_ping_us = 0;
uint64_t last_status_us = 0;
std::string last_status;
bool ready_sent = false;
bool stopping_sent = false;

constexpr uint64_t kStatusPeriodUs = 1000000;

uint64_t NowMicros() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000u +
           static_cast<uint64_t>(now.tv_nsec) / 1000u;
}

// A manager that cannot be reached is reported once; the player runs on without it, and keeps
// trying in case it comes back.
void Send(const char* message) {
    static bool warned = false;
    const int sent = sd_notify(0, message);
    if (sent >= 0 || warned) return;
    warned = true;
    PrintError(
        "WARNING: The service manager cannot be told (NOTIFY_SOCKET=%s: %s); playback goes on.\n",
        std::getenv("NOTIFY_SOCKET"), std::strerror(-sent));
}

}  // namespace

bool ServiceNotifyOn() {
    if (manager == Manager::kUntried) {
        const char* socket = std::getenv("NOTIFY_SOCKET");
        manager = socket && *socket ? Manager::kPresent : Manager::kAbsent;
        uint64_t period_us = 0;
        if (manager == Manager::kPresent && sd_watchdog_enabled(0, &period_us) > 0) {
            ping_period_us = period_us / 2;
        }
    }
    return manager == Manager::kPresent;
}

void ServiceReady() {
    if (ready_sent || !ServiceNotifyOn()) return;
    ready_sent = true;
    Send("READY=1");
}

void ServiceStatus(const char* line) {
    if (!ServiceNotifyOn() || last_status == line) return;
    const uint64_t now = NowMicros();
    if (!last_status.empty() && now - last_status_us < kStatusPeriodUs) return;
    last_status = line;
    last_status_us = now;
    Send(("STATUS=" + last_status).c_str());
}

void ServiceWatchdog() {
    if (!ServiceNotifyOn() || ping_period_us == 0) return;
    const uint64_t now = NowMicros();
    if (last_ping_us != 0 && now - last_ping_us < ping_period_us) return;
    last_ping_us = now;
    Send("WATCHDOG=1");
}

void ServiceStopping() {
    if (stopping_sent || !ServiceNotifyOn()) return;
    stopping_sent = true;
    Send("STOPPING=1");
}
