#include <windows.h>

#include "platform/shared_memory.hpp"
#include "platform/wide_text_win32.hpp"

SharedMemoryResult OpenSharedMemory(const char* name, int bytes, void** view) {
    // A named mapping backed by the paging file, for the copies run in the same session. Its
    // handle stays open for the rest of the process: the name is found by the other copies only
    // while a handle to it is open (a view alone does not keep it under wine).
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(bytes), WideText(name).c_str());
    if (mapping == nullptr) return SharedMemoryResult::kOpenFailed;
    // A block made smaller by another program cannot be grown: the view of bytes then fails.
    void* mapped = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, static_cast<SIZE_T>(bytes));
    if (mapped == nullptr) {
        CloseHandle(mapping);
        return SharedMemoryResult::kMapFailed;
    }
    *view = mapped;
    return SharedMemoryResult::kOk;
}
