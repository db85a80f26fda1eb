// Named shared memory for the motion block.
#pragma once

#include <cstdint>

enum class SharedMemoryResult { kOk, kOpenFailed, kMapFailed };

// Creates or opens the block "/" + name of bytes bytes (mode 0600; a smaller block is grown) and
// maps it once for the rest of the process. *view receives the mapped bytes.
SharedMemoryResult OpenSharedMemory(const char* name, int bytes, void** view);
