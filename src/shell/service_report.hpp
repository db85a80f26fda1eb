// What the service manager hears from the main loop (see platform/service_notify.hpp).
#pragma once

// After the display step: READY=1 once a frame has been shown, then a status line (folder,
// frame, frames, camera) and the watchdog ping, both rate-limited.
void ReportToService();
