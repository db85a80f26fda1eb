#include <windows.h>

#include "platform/memory.hpp"

int64_t PhysicalMemoryBytes() {
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return static_cast<int64_t>(status.ullTotalPhys);
}
