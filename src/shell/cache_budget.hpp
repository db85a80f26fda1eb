// The memory budget of the picture cache: large frames with a high CamOnMemory must not exhaust
// the machine's memory on a long run.
#pragma once

#include <cstdint>

// Bytes the cache may hold: ZELTRAN_CACHE_BUDGET_MB megabytes when that is a whole number above 0,
// otherwise a quarter of physical memory (1 GB when the system does not tell its memory).
int64_t CacheBudgetBytes();

// The pictures the cache holds (frames of the list marked loaded) and whether one more picture as
// large as the largest of them would take them beyond budget; the display step then drops the
// whole cache, as it does at CamOnMemory pictures. One pass over the frame records: with 22000
// of them, each pass costs a tenth of a millisecond.
struct CacheFill {
    int pictures;
    bool over_budget;
};
CacheFill MeasureCache(int64_t budget);

// MeasureCache(CacheBudgetBytes()).over_budget.
bool CacheOverBudget();
