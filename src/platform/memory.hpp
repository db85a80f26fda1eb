// Size of the machine's memory.
#pragma once

#include <cstdint>

// Bytes of physical memory, or 0 when the system does not tell.
int64_t PhysicalMemoryBytes();
