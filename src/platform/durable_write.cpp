// Durable writes: a temporary file beside the target, flushed, renamed over it, folder flushed.
// The system calls are DiskCallsInUse() (disk_calls_posix.cpp, disk_calls_win32.cpp).
#include <cerrno>
#include <random>
#include <string>

#include "platform/files.hpp"

namespace {

// The folder that holds path ("." for a bare name).
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a temporary file beside path under a name of its own (never an existing file), so that
// two players sharing the folder cannot write into each other's. -1 when none was made.
int CreateTemporary(const std::string& path, std::string* temporary) {
    static std::mt19937 names{std::random_device{}()};
    for (int attempt = 0; attempt < 8; ++attempt) {
        *temporary = path + "." + std::to_string(names()) + ".tmp";
        const int fd = DiskCallsInUse().create(temporary->c_str());
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const std::ptrdiff_t wrote =
            DiskCallsInUse().write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

}  // namespace

bool WriteFileDurably(const char* path, std::string_view bytes, Existing existing) {
    // The path is taken as it is: the programs build these paths with '/', and a folder of an
    // installation may hold a '\' in its name.
    const DiskCalls& calls = DiskCallsInUse();
    const std::string target = path;
    std::string temporary;
    const int fd = CreateTemporary(target, &temporary);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, bytes) && calls.sync(fd) == 0;
    const bool closed = calls.close(fd) == 0;
    if (!written || !closed ||
        calls.rename(temporary.c_str(), target.c_str(), existing == Existing::kReplace) != 0) {
        calls.remove(temporary.c_str());
        return false;
    }
    return calls.sync_folder(FolderOf(target).c_str()) == 0;
}
