// The system calls of a durable write on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files.hpp"

namespace {

int CreateNew(const char* path) {
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

std::ptrdiff_t Write(int fd, const void* bytes, size_t count) {
    return write(fd, bytes, count);
}

int Rename(const char* from, const char* to, bool replace) {
    if (replace) return std::rename(from, to);
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // A file system without the exclusive rename: the test and the rename are two steps there.
    struct stat info;
    if (lstat(to, &info) == 0) {
        errno = EEXIST;
        return -1;
    }
    return std::rename(from, to);
}

// A file system that cannot flush a folder answers EINVAL: the rename is then as durable as it
// can be made there.
int SyncFolder(const char* folder) {
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return synced ? 0 : -1;
}

DiskCalls disk_calls{CreateNew, Write, fsync, close, Rename, SyncFolder, unlink};

}  // namespace

DiskCalls& DiskCallsInUse() {
    return disk_calls;
}
