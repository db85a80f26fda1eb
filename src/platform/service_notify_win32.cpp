// Windows has no service manager that reads these notifications: a player started at logon or by
// the task scheduler is watched by nobody, so every call does nothing.
#include "platform/service_notify.hpp"

bool ServiceNotifyOn() {
    return false;
}

void ServiceReady() {}

void ServiceStatus(const char*) {}

void ServiceWatchdog() {}

void ServiceStopping() {}
