#include "platform/shared_memory.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

SharedMemoryResult OpenSharedMemory(const char* name, int bytes, void** view) {
    const std::string object = std::string("/") + name;
    // 0600: the motion block is only for copies run by the same user.
    const int fd = shm_open(object.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0) return SharedMemoryResult::kOpenFailed;
    struct stat info;
    if (fstat(fd, &info) != 0 || (info.st_size < bytes && ftruncate(fd, bytes) != 0)) {
        close(fd);
        return SharedMemoryResult::kOpenFailed;
    }
    void* mapped = mmap(nullptr, static_cast<size_t>(bytes), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (mapped == MAP_FAILED) return SharedMemoryResult::kMapFailed;
    *view = mapped;
    return SharedMemoryResult::kOk;
}
