// Looking at files without opening them, for the installation check and its set-up: what kind a
// path is, who owns it, where a link leads, and a camera tried once.
#pragma once

#include <string>

enum class PathKind { kMissing, kFile, kFolder, kCharacterDevice, kOther };

struct PathInfo {
    PathKind kind = PathKind::kMissing;
    unsigned owner = 0;  // user id
    unsigned mode = 0;   // permission bits (0777 part)
    long long bytes = 0;
};

// What path names, following links; kind kMissing when it cannot be looked at.
PathInfo LookAt(const char* path);

// The user id this process runs as, and a user's login name (the number when it has none).
unsigned CurrentUser();
std::string UserName(unsigned user);

// True when this process may read and write path (its permission bits and user).
bool CanReadAndWrite(const char* path);

// The absolute path with every link resolved; empty when it does not lead anywhere.
std::string ResolvedPath(const char* path);

// Makes path the working folder; false when it cannot.
bool ChangeFolder(const char* path);

// Makes path and any missing folders above it (mode 0777 less umask); true when it is a folder.
bool MakeFolders(const std::string& path);

struct CameraProbe {
    bool opened = false;  // the device or file opened
    int width = 0;        // size of the first picture read; 0 when none came
    int height = 0;
};

// Opens a camera device (V4L2) or a video file the way the player asks for its camera (320 x 240,
// 60 frames/s) and reads one picture, waiting at most about a second; then closes it again.
CameraProbe ProbeCamera(const char* path, bool device);
