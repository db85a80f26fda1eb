// Windows has no file owners or permission bits in the POSIX sense: the C runtime's stat reports
// read-only files as 0444 and others as 0666 (folders 0777), and every file as the user's own.
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/inspect.hpp"

PathInfo LookAt(const char* path) {
    PathInfo info;
    struct _stat64 status;
    if (_stat64(path, &status) != 0) return info;
    if ((status.st_mode & _S_IFMT) == _S_IFREG) {
        info.kind = PathKind::kFile;
    } else if ((status.st_mode & _S_IFMT) == _S_IFDIR) {
        info.kind = PathKind::kFolder;
    } else if ((status.st_mode & _S_IFMT) == _S_IFCHR) {
        info.kind = PathKind::kCharacterDevice;
    } else {
        info.kind = PathKind::kOther;
    }
    info.mode = status.st_mode & 0777;
    info.bytes = static_cast<long long>(status.st_size);
    return info;
}

unsigned CurrentUser() {
    return 0;
}

std::string UserName(unsigned) {
    const char* name = std::getenv("USERNAME");
    return name ? name : "0";
}

bool CanReadAndWrite(const char* path) {
    return _access(path, 6) == 0;
}

std::string ResolvedPath(const char* path) {
    if (LookAt(path).kind == PathKind::kMissing) return {};
    char* full = _fullpath(nullptr, path, 0);
    if (full == nullptr) return {};
    const std::string resolved(full);
    std::free(full);
    return resolved;
}

bool ChangeFolder(const char* path) {
    return _chdir(path) == 0;
}

bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find_first_of("/\\", 1); slash != std::string::npos;
         slash = path.find_first_of("/\\", slash + 1)) {
        _mkdir(path.substr(0, slash).c_str());  // an existing folder is fine; checked below
    }
    _mkdir(path.c_str());
    return LookAt(path.c_str()).kind == PathKind::kFolder;
}

