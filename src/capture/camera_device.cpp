#include "capture/camera_device.hpp"

#include <cstdio>
#include <cstdlib>

#include "common/console.hpp"
#include "common/path.hpp"
#include "common/redact.hpp"
#include "common/settings_reader.hpp"
#include "platform/camera.hpp"
#include "platform/files.hpp"

void LoadCameraDeviceSetting(bool report, std::vector<std::string>* skipped) {
    std::string device;
    FILE* file = OpenFile(kCameraDeviceFile, "r");
    if (file) {
        ReadSettingLines(file, [&](int number, const std::string& key, const std::string& value) {
            const char* error = nullptr;
            if (key != "device") {
                error = "unknown setting (device)";
            } else if (value.empty()) {
                error = "write device PATH, URL or gst:PIPELINE";
            } else {
                device = value;
            }
            if (!error) return;
            const std::string shown = RedactCredentials(value.empty() ? key : key + " " + value);
            if (skipped) {
                skipped->push_back(
                    FormatText("line %d: \"%s\" is not read: %s", number, shown.c_str(), error));
            } else if (report) {
                PrintError("[ NG ] %s line %d skipped: %s\n", kCameraDeviceFile, number, error);
            }
        });
        std::fclose(file);
    }
    CameraChooseDevice(device);
    if (!report || device.empty()) return;
    const char* named = std::getenv("ZELTRAN_CAMERA_DEVICE");
    Print("SET: device = %s ( %s )\n", RedactCredentials(device).c_str(),
          named && *named ? "ZELTRAN_CAMERA_DEVICE is used instead"
                          : "Camera instead of /dev/video<CamChan>");
}
