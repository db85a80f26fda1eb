#include "platform/inspect.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <opencv2/videoio.hpp>

PathInfo LookAt(const char* path) {
    PathInfo info;
    struct stat status;
    if (stat(path, &status) != 0) return info;
    if (S_ISREG(status.st_mode)) {
        info.kind = PathKind::kFile;
    } else if (S_ISDIR(status.st_mode)) {
        info.kind = PathKind::kFolder;
    } else if (S_ISCHR(status.st_mode)) {
        info.kind = PathKind::kCharacterDevice;
    } else {
        info.kind = PathKind::kOther;
    }
    info.owner = status.st_uid;
    info.mode = status.st_mode & 07777;
    info.bytes = static_cast<long long>(status.st_size);
    return info;
}

unsigned CurrentUser() {
    return geteuid();
}

std::string UserName(unsigned user) {
    const passwd* entry = getpwuid(user);
    return entry && entry->pw_name ? std::string(entry->pw_name) : std::to_string(user);
}

bool CanReadAndWrite(const char* path) {
    return access(path, R_OK | W_OK) == 0;
}

std::string ResolvedPath(const char* path) {
    char resolved[PATH_MAX];
    return realpath(path, resolved) ? std::string(resolved) : std::string();
}

bool ChangeFolder(const char* path) {
    return chdir(path) == 0;
}

bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0777);  // an existing folder is fine; checked below
    }
    mkdir(path.c_str(), 0777);
    return LookAt(path.c_str()).kind == PathKind::kFolder;
}

CameraProbe ProbeCamera(const char* path, bool device) {
    // The same one-second bound on a silent device as the player's (a value set by the user stays).
    setenv("OPENCV_VIDEOIO_V4L_SELECT_TIMEOUT", "1", 0);
    CameraProbe probe;
    try {
        cv::VideoCapture capture;
        probe.opened = capture.open(path, device ? cv::CAP_V4L2 : cv::CAP_ANY);
        if (!probe.opened) return probe;
        capture.set(cv::CAP_PROP_FRAME_WIDTH, 320.0);
        capture.set(cv::CAP_PROP_FRAME_HEIGHT, 240.0);
        capture.set(cv::CAP_PROP_FPS, 60.0);
        cv::Mat picture;
        if (capture.read(picture) && !picture.empty()) {
            probe.width = picture.cols;
            probe.height = picture.rows;
        }
    } catch (const cv::Exception&) {
        // A device that throws counts as one that gave no picture.
    }
    return probe;
}
