#include "block/shared_block.hpp"

#include <cstdlib>
#include <cstring>

#include "common/console.hpp"
#include "common/language.hpp"
#include "common/state.hpp"
#include "platform/process.hpp"
#include "platform/shared_memory.hpp"

int32_t SI[kSharedWords];

namespace {

constexpr char kSharedBlockName[] = "LQT_SHARED_MEMORY";
constexpr int kClearedWords = 1 + kCameraSlots;  // the total and the 32 camera slots

void* shared_view = nullptr;  // the mapped block; null until OpenSharedBlock succeeded

}  // namespace

const char* SharedBlockName() {
    const char* name = std::getenv("ZELTRAN_SHM_NAME");
    return (name && *name) ? name : kSharedBlockName;
}

void OpenSharedBlock() {
    switch (OpenSharedMemory(SharedBlockName(), kSharedBytes, &shared_view)) {
        case SharedMemoryResult::kOk:
            break;
        case SharedMemoryResult::kOpenFailed:
            PrintText(_("共有メモリオープン失敗\n"));
            EndProcess(1);
        case SharedMemoryResult::kMapFailed:
            PrintText(_("共有メモリマッピング失敗\n"));
            EndProcess(1);
    }
    ClearSharedBlock();
}

void ReadSharedBlock() {
    if (shared_view) std::memcpy(SI, shared_view, kSharedBytes);
}

void WriteSharedBlock() {
    if (shared_view) std::memcpy(shared_view, SI, kSharedBytes);
}

void ClearSharedBlock() {
    ReadSharedBlock();
    for (int word = 0; word < kClearedWords; ++word) SI[word] = 0;
    WriteSharedBlock();
}

void PublishSlot(int32_t slot, int32_t value) {
    ReadSharedBlock();
    if (static_cast<uint32_t>(slot) < static_cast<uint32_t>(kCameraSlots)) SI[slot + 1] = value;
    // Added as unsigned so that slots another copy filled with large values wrap around like
    // 32-bit sums instead of overflowing.
    uint32_t total = 0;
    for (int word = 1; word <= kCameraSlots; ++word) total += static_cast<uint32_t>(SI[word]);
    SI[kDiffSumWord] = static_cast<int32_t>(total);
    WriteSharedBlock();
}
