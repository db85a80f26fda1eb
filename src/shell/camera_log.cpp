#include "shell/camera_log.hpp"

#include <cstdint>

#include "common/path.hpp"
#include "common/state.hpp"
#include "contents/naming.hpp"
#include "platform/camera.hpp"
#include "platform/files.hpp"
#include "platform/picture.hpp"

namespace {

// Every index below it was taken when last looked at.
int32_t log_search_from = 0;

std::string LogName(int index) {
    return FormatPath("%s/log/clip_%5d.jpg", kContentsBase, index);
}

}  // namespace

std::string NextCameraLogName() {
    // The name below the start was taken last time; when it is gone (the log was emptied or
    // replaced), the search begins again at 0.
    if (log_search_from > 0 && !CanOpenForReading(LogName(log_search_from - 1).c_str())) {
        log_search_from = 0;
    }
    for (int index = log_search_from;; ++index) {
        std::string name = LogName(index);
        if (!CanOpenForReading(name.c_str())) {
            log_search_from = index;
            return name;
        }
    }
}

void LogCameraPicture() {
    if (camera_log_mode != 1 || DISP_WEB_CAM_INFO != 0 || !camera_on || !CameraIsOpen()) return;
    SavePicture(NextCameraLogName().c_str(), camera_frame);
}
