// The motion measurement of one cycle: the plain sum against the filtered one (a mask that
// excludes a quarter of the picture, and the light option), on the same pair of grainy grey
// pictures with a lamp step between them, so both visit the same 4800 samples per cycle.
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
        grey_pair[i] = static_cast<uint8_t>(128 + level(grain));
        grey_pair[kGreyFrameBytes + i] = static_cast<uint8_t>(168 + level(grain));
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
