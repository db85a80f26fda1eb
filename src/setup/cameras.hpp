// The cameras present on the machine, by their stable names.
#pragma once

#include <string>
#include <vector>

struct CameraEntry {
    std::string device;              // dev_root/videoN
    std::vector<std::string> names;  // links under v4l/by-id and v4l/by-path that lead to it
};

// Every dev_root/videoN, ascending, with the links of dev_root/v4l/by-id and dev_root/v4l/by-path
// that point to it. Missing folders and dangling links count as nothing there.
std::vector<CameraEntry> ListCameras(const std::string& dev_root);
