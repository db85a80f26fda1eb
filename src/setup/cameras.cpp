#include "setup/cameras.hpp"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "capture/camera_device.hpp"
#include "common/redact.hpp"
#include "common/state.hpp"
#include "platform/camera.hpp"
#include "platform/files.hpp"
#include "platform/inspect.hpp"
#include "setup/check.hpp"
#include "setup/report.hpp"

namespace {

// The number of a "videoN" name, or -1.
long VideoNumber(const std::string& name) {
    if (name.size() < 6 || name.size() > 14 || name.compare(0, 5, "video") != 0) return -1;
    if (name.find_first_not_of("0123456789", 5) != std::string::npos) return -1;
    return std::strtol(name.c_str() + 5, nullptr, 10);
}

// Adds the links of folder (by-id or by-path) to the cameras they lead to.
void AddStableNames(const std::string& folder, const char* kind,
                    std::vector<CameraEntry>* cameras) {
    std::vector<std::string> links;
    if (!ListFolder(folder.c_str(), &links)) return;
    std::sort(links.begin(), links.end());
    for (const std::string& link : links) {
        const std::string target = ResolvedPath((folder + "/" + link).c_str());
        for (CameraEntry& camera : *cameras) {
            if (!target.empty() && ResolvedPath(camera.device.c_str()) == target) {
                camera.names.push_back(std::string(kind) + "/" + link);
            }
        }
    }
}

// A network camera or pipeline is opened as the player opens it: one picture within 1 s.
void CheckStream(const char* label, const std::string& source) {
    const std::string shown = RedactCredentials(source);
    cv::Mat picture;
    const bool sends = CameraOpen(CamChan) && CameraRead(&picture);
    const std::string fault = CameraFault();
    CameraRelease();
    if (sends) {
        Say(label, shown + ": sends pictures (the player scales them to 320 x 240)");
    } else {
        Say(label, fault.empty() ? shown + ": does not open" : fault);
    }
}

// The device of the camera the player opens: $ZELTRAN_CAMERA_DEVICE, else the device line of
// SetCameraDevice.txt, else /dev/video<CamChan>.
void CheckDevice(const std::string& dev_root) {
    const char* label = "Camera device";
    const char* source = std::getenv("ZELTRAN_CAMERA_SOURCE");
    const std::string named = CameraDevice();
    const bool stand_in = source && *source;
    std::string path;
    if (stand_in) {
        path = source;
    } else if (IsStreamSource(named)) {
        CheckStream(label, named);
        return;
    } else if (!named.empty()) {
        path = named;
    } else if (CamChan >= 0) {
        path = dev_root + "/video" + std::to_string(CamChan);
    } else {
        Say(label, FormatText("none (CamChan %d)", CamChan));
        return;
    }
    const PathKind kind = LookAt(path.c_str()).kind;
    if (kind == PathKind::kMissing) {
        Say(label, path + ": not present (the player plays from the shared motion block)");
        return;
    }
    if (!stand_in && kind != PathKind::kCharacterDevice) {
        Say(label, path + ": not a camera device");
        return;
    }
    if (stand_in && kind != PathKind::kFile) {
        Say(label, path + " (ZELTRAN_CAMERA_SOURCE): not a file");
        return;
    }
    const CameraProbe probe = ProbeCamera(path.c_str(), !stand_in);
    std::string state = "present, does not open (in use, or no permission: group video?)";
    if (probe.opened && probe.width == 0) state = "opens, but gives no picture";
    if (probe.opened && probe.width > 0) {
        state = FormatText("opens, %d x %d", probe.width, probe.height);
        if (probe.width != GLT_F_XMAX || probe.height != GLT_F_YMAX) {
            state += FormatText(" (the player switches off a camera without %d x %d)", GLT_F_XMAX,
                                GLT_F_YMAX);
        }
    }
    Say(label, path + (stand_in ? " (ZELTRAN_CAMERA_SOURCE): " : ": ") + state);
}

// SetCameraDevice.txt read as the player reads it, its bad lines as warnings.
void CheckDeviceFile() {
    if (!SettingsFileToRead("Camera device", kCameraDeviceFile)) return;
    std::vector<std::string> skipped;
    LoadCameraDeviceSetting(false, &skipped);
    for (const std::string& line : skipped) {
        Warn(FormatText("%s %s", kCameraDeviceFile, line.c_str()));
    }
}

}  // namespace

std::vector<CameraEntry> ListCameras(const std::string& dev_root) {
    std::vector<CameraEntry> cameras;
    std::vector<std::string> names;
    if (ListFolder(dev_root.c_str(), &names)) {
        std::vector<std::pair<long, std::string>> videos;
        for (const std::string& name : names) {
            if (VideoNumber(name) >= 0) videos.emplace_back(VideoNumber(name), name);
        }
        std::sort(videos.begin(), videos.end());
        for (const auto& video : videos) cameras.push_back({dev_root + "/" + video.second, {}});
    }
    AddStableNames(dev_root + "/v4l/by-id", "by-id", &cameras);
    AddStableNames(dev_root + "/v4l/by-path", "by-path", &cameras);
    return cameras;
}

void CheckCameras(const std::string& dev_root) {
    CheckDeviceFile();
    CheckDevice(dev_root);
    const std::vector<CameraEntry> cameras = ListCameras(dev_root);
    if (cameras.empty()) Say("Cameras present", "no camera found");
    for (size_t i = 0; i < cameras.size(); ++i) {
        std::string text = cameras[i].device;
        for (const std::string& name : cameras[i].names) text += "  " + name;
        Say(i == 0 ? "Cameras present" : "", text);
    }
    Say("Other cameras",
        "a network camera: ZELTRAN_CAMERA_DEVICE=rtsp://... (or http://, https://)");
    Say("", "the Raspberry Pi camera module: ZELTRAN_CAMERA_DEVICE='gst:libcamerasrc ! ...'");
    Say("", FormatText("or a line \"device ...\" in %s (see the camera guide)", kCameraDeviceFile));
}
