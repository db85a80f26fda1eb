#include "platform/memory.hpp"

#include <unistd.h>

int64_t PhysicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_bytes = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_bytes <= 0) return 0;
    return static_cast<int64_t>(pages) * page_bytes;
}
