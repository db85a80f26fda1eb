// The motion measurement of one cycle: the plain sum against the filtered one (a mask that
// excludes a quarter of the picture, and the light option), on the same pair of grainy pictures of
// a room graded from dark to bright with an exposure step (x1.3) between them, so both visit the
// same 4800 samples per cycle and the light is fitted over 18 bands of grey levels.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "common/state.hpp"
#include "motion/motion.hpp"

namespace {

void MakePair() {
    std::mt19937 grain(7);
    std::uniform_int_distribution<int> level(-3, 3);
    for (int i = 0; i < kGreyFrameBytes; ++i) {
        const int room = 4 + 180 * (i % GLT_F_XMAX) / GLT_F_XMAX;  // x1.3 stays below white
        grey_pair[i] = static_cast<uint8_t>(room + level(grain) + 3);
        grey_pair[kGreyFrameBytes + i] = static_cast<uint8_t>(room * 13 / 10 + level(grain) + 3);
    }
    camera_on = 1;
    CamChan = -1;  // no slot: the shared block is not opened here
    sample_step = 4;
}

void MeasureEachIteration(benchmark::State& state, const MotionFilter& filter) {
    ToneChange light;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SumDifference(grey_pair, 0, sample_step, filter, &light));
    }
}

void BM_PlainMeasure(benchmark::State& state) {
    MakePair();
    MeasureEachIteration(state, MotionFilter());
}
BENCHMARK(BM_PlainMeasure);

void BM_FilteredMeasure(benchmark::State& state) {
    MakePair();
    static MotionFilter filter;
    for (int i = 0; i < kGreyFrameBytes; ++i) {
        filter.counts[i] = (i % GLT_F_XMAX) < GLT_F_XMAX / 4 ? 0 : 1;
    }
    filter.masked = true;
    filter.light = true;
    MeasureEachIteration(state, filter);
}
BENCHMARK(BM_FilteredMeasure);

}  // namespace

BENCHMARK_MAIN();
