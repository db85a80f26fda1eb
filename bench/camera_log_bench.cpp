// Camera log: the cost of finding the next free name in a cycle, with an empty log and with
// 10,000 pictures already in it, against a search that starts at 0 every cycle.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "common/path.hpp"
#include "platform/files.hpp"
#include "shell/camera_log.hpp"
#include "support/temp_tree.hpp"

namespace {

// The whole log series from index 0, as every cycle searched it before.
std::string FirstFreeFromZero() {
    for (int index = 0;; ++index) {
        std::string name = FormatPath("../log/clip_%5d.jpg", index);
        if (!CanOpenForReading(name.c_str())) return name;
    }
}

void Touch(const std::string& name) {
    close(open(name.c_str(), O_CREAT | O_WRONLY, 0644));
}

template <std::string (*NextName)()>
void BM_CameraLogCycle(benchmark::State& state) {
    TempTree tree;
    tree.MakeFolder("../log");
    for (int i = 0; i < state.range(0); ++i) Touch(FormatPath("../log/clip_%5d.jpg", i));
    Touch(NextName());  // the first cycle after start searches from 0 either way
    for (auto _ : state) {
        const std::string name = NextName();
        // Writing the picture costs the same either way; only the name search is timed.
        state.PauseTiming();
        Touch(name);
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK_TEMPLATE(BM_CameraLogCycle, NextCameraLogName)->Arg(0)->Arg(10000)->Iterations(2000);
BENCHMARK_TEMPLATE(BM_CameraLogCycle, FirstFreeFromZero)->Arg(0)->Arg(10000)->Iterations(200);
BENCHMARK_MAIN();
