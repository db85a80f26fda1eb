#include <windows.h>

#include "platform/shared_memory.hpp"
#include "platform/wide_text_win32.hpp"

SharedMemoryResult OpenSharedMemory(const char* name, int bytes, void** view) {
    // A named mapping backed by the paging file, for copies run in the same session. It lives as
    // long as one copy has it mapped; the view keeps it, so the handle is not needed afterwards.
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(bytes), WideText(name).c_str());
    if (mapping == nullptr) return SharedMemoryResult::kOpenFailed;
    // A block made smaller by another program cannot be grown: the view of bytes then fails.
    void* mapped = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, static_cast<SIZE_T>(bytes));
    CloseHandle(mapping);
    if (mapped == nullptr) return SharedMemoryResult::kMapFailed;
    *view = mapped;
    return SharedMemoryResult::kOk;
}
