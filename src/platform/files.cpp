#include "platform/files.hpp"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "common/console.hpp"

std::string NativePath(const char* path) {
    std::string native(path);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

bool PathExists(const char* path) {
    struct stat info;
    return stat(NativePath(path).c_str(), &info) == 0;
}

bool CanOpenForReading(const char* path) {
    FILE* file = OpenFile(path, "r");
    if (!file) return false;
    std::fclose(file);
    return true;
}

FILE* OpenFile(const char* path, const char* mode) {
    return std::fopen(NativePath(path).c_str(), mode);
}

void PrintWorkingFolder() {
    char folder[PATH_MAX];
    if (getcwd(folder, sizeof folder)) Print("%s\n", folder);
}

bool ListFolder(const char* path, std::vector<std::string>* names) {
    DIR* dir = opendir(NativePath(path).c_str());
    if (!dir) return false;
    names->clear();
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        names->emplace_back(entry->d_name);
    }
    closedir(dir);
    return true;
}

bool MakeFolder(const char* path) {
    const std::string native = NativePath(path);
    if (mkdir(native.c_str(), 0777) == 0) return true;
    struct stat info;
    return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// The names "rm -f folder/*.jpg" would take: the program's frames are lower-case .jpg, and the
// glob leaves hidden names alone.
bool IsJpegName(const std::string& name) {
    return name.size() > 4 && name[0] != '.' && name.compare(name.size() - 4, 4, ".jpg") == 0;
}

// Regular files and links (the link itself, never its target) may be removed.
bool IsRemovableEntry(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode));
}

}  // namespace

int RemoveJpegFiles(const char* folder) {
    std::vector<std::string> names;
    if (!ListFolder(folder, &names)) return 0;
    const std::string base = NativePath(folder) + "/";
    int removed = 0;
    for (const std::string& name : names) {
        if (!IsJpegName(name)) continue;
        const std::string path = base + name;
        if (IsRemovableEntry(path) && unlink(path.c_str()) == 0) ++removed;
    }
    return removed;
}

bool WouldRemoveJpeg(const char* path, const char* folder) {
    const std::string native = NativePath(path);
    const size_t slash = native.find_last_of('/');
    const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
    const std::string parent = slash == std::string::npos ? "." : native.substr(0, slash + 1);
    if (!IsJpegName(name) || !IsRemovableEntry(native)) return false;
    struct stat parent_info;
    struct stat folder_info;
    return stat(parent.c_str(), &parent_info) == 0 &&
           stat(NativePath(folder).c_str(), &folder_info) == 0 &&
           parent_info.st_dev == folder_info.st_dev && parent_info.st_ino == folder_info.st_ino;
}
