#include "shell/service_report.hpp"

#include <cstdio>

#include "common/state.hpp"
#include "platform/service_notify.hpp"
#include "status/status.hpp"

void ReportToService() {
    if (!ServiceNotifyOn() || shown_frame_no < 0.0) return;
    ServiceReady();
    char line[96];
    std::snprintf(line, sizeof line, "S%03d frame %d of %d, camera %s", folder_index + 1,
                  static_cast<int>(frame_no), MaxCount,
                  camera_on != 1  ? "off"
                  : CameraStale() ? "stale"
                                  : "on");
    ServiceStatus(line);
    ServiceWatchdog();
}
