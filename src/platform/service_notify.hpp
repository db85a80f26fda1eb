// Notification of a supervising service manager (systemd's sd_notify protocol). Everything here
// does nothing unless NOTIFY_SOCKET is set, and costs only a clock read when called every cycle.
#pragma once

// Longest sleep between ServiceWatchdog calls of a wait that may last long (a console key, a
// running converter): far below any watchdog period a service would set.
constexpr int kServiceWaitSliceMs = 100;

// True when NOTIFY_SOCKET names a service manager to tell.
bool ServiceNotifyOn();

// READY=1, once: the player is up and shows pictures.
void ServiceReady();

// STATUS=line when it differs from the last one sent and that went out a second ago or more; a
// line held back goes out with a later call.
void ServiceStatus(const char* line);

// WATCHDOG=1 when WATCHDOG_USEC is set and half of that period has passed since the last one.
// Every wait the player may legitimately stay in calls this.
void ServiceWatchdog();

// STOPPING=1, once: the player is ending.
void ServiceStopping();
