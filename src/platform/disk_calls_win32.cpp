// The system calls of a durable write on Windows: _commit flushes a file to the disk, and the
// rename writes through, so the folder needs no flush of its own.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "platform/files.hpp"
#include "platform/wide_text_win32.hpp"

namespace {

int CreateNew(const char* path) {
    return _wopen(WideText(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                  _S_IREAD | _S_IWRITE);
}

std::ptrdiff_t Write(int fd, const void* bytes, size_t count) {
    return _write(fd, bytes, static_cast<unsigned int>(count));
}

int Rename(const char* from, const char* to, bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(WideText(from).c_str(), WideText(to).c_str(), flags)) return 0;
    const DWORD error = GetLastError();
    errno = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? EEXIST : EIO;
    return -1;
}

int SyncFolder(const char*) {
    return 0;
}

int Remove(const char* path) {
    return DeleteFileW(WideText(path).c_str()) ? 0 : -1;
}

DiskCalls disk_calls{CreateNew, Write, _commit, _close, Rename, SyncFolder, Remove};

}  // namespace

DiskCalls& DiskCallsInUse() {
    return disk_calls;
}
