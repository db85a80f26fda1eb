#include "shell/cache_budget.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "common/state.hpp"
#include "platform/memory.hpp"

namespace {

constexpr int64_t kMegabyte = 1024 * 1024;
constexpr int64_t kUnknownMemoryBudget = 1024 * kMegabyte;
constexpr long long kMaxBudgetMb = 1LL << 40;  // keeps the product in range

int64_t PictureBytes(const cv::Mat& picture) {
    return static_cast<int64_t>(picture.total() * picture.elemSize());
}

// The budget the environment sets in megabytes, or 0 when it sets none that can be used.
int64_t BudgetFromEnvironment() {
    const char* text = std::getenv("ZELTRAN_CACHE_BUDGET_MB");
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    errno = 0;
    const long long megabytes = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || megabytes <= 0 || megabytes > kMaxBudgetMb) return 0;
    return megabytes * kMegabyte;
}

}  // namespace

int64_t CacheBudgetBytes() {
    const int64_t chosen = BudgetFromEnvironment();
    if (chosen > 0) return chosen;
    const int64_t memory = PhysicalMemoryBytes();
    return memory > 0 ? memory / 4 : kUnknownMemoryBudget;
}

CacheFill MeasureCache(int64_t budget) {
    int pictures = 0;
    int64_t bytes = 0;
    int64_t largest = 0;
    const int count = std::min(MaxCount, kMaxFrames);
    for (int i = 0; i < count; ++i) {
        if (FrameData[i].loaded != 1) continue;
        ++pictures;
        const int64_t picture = PictureBytes(frame_cache[i]);
        bytes += picture;
        largest = std::max(largest, picture);
    }
    return {pictures, bytes > 0 && bytes + largest > budget};
}

bool CacheOverBudget() {
    return MeasureCache(CacheBudgetBytes()).over_budget;
}
