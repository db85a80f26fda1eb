// Frame-list building: the listing-based scan against probing one candidate name at a time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "contents/frame_scan.hpp"
#include "support/probe_scan.hpp"

namespace {

// <tmp>/work is the working folder; S001 holds 22000 frames, S002 is an empty folder, S003 does
// not exist.
class Installation {
  public:
    Installation() {
        root_ = (std::filesystem::temp_directory_path() / "zeltran-bench-scan").string();
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ + "/work");
        std::filesystem::create_directories(root_ + "/S001");
        std::filesystem::create_directories(root_ + "/S002");
        char name[64];
        for (int n = 0; n < 22000; ++n) {
            std::snprintf(name, sizeof name, "/S001/clip_%05d.jpg", n);
            close(open((root_ + name).c_str(), O_CREAT | O_WRONLY, 0644));
        }
        if (chdir((root_ + "/work").c_str()) != 0) std::perror("chdir");
    }
    ~Installation() { std::filesystem::remove_all(root_); }

  private:
    std::string root_;
};

// Console lines of the scan go to /dev/null while it runs.
class Quiet {
  public:
    Quiet() : saved_(dup(1)), null_(open("/dev/null", O_WRONLY)) { dup2(null_, 1); }
    ~Quiet() {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
        close(null_);
    }

  private:
    int saved_;
    int null_;
};

void Setup() {
    static Installation installation;
    std::memset(static_cast<void*>(FrameData), 0, sizeof FrameData);
    MaxCount = 0;
}

template <void (*Scan)(long long)>
void BM_Scan(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        Quiet quiet;
        MaxCount = 0;
        Scan(state.range(0));
    }
    state.counters["frames"] = MaxCount;
}

// The specified descent, one probe loop per folder, from folder `folders` down to S001.
void ProbingDescent(int folders) {
    for (int folder = folders; folder >= 1; --folder) {
        std::memset(static_cast<void*>(FrameData), 0, sizeof FrameData);
        MaxCount = 0;
        char name[64];
        std::snprintf(name, sizeof name, "frame_data%04d.dat", folder);
        if (FILE* file = std::fopen(name, "rb")) std::fclose(file);
        ScanFolderByProbing(folder);
        if (MaxCount > 0) return;
    }
}

void BM_DescentListing(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        Quiet quiet;
        folder_index = static_cast<int32_t>(state.range(0)) - 1;
        CheckContents();
    }
}

void BM_DescentProbing(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        Quiet quiet;
        ProbingDescent(static_cast<int>(state.range(0)));
    }
}

}  // namespace

// Argument: the folder number (1: 22000 frames, 2: empty, 3: missing).
BENCHMARK(BM_Scan<ScanFolder>)
    ->Name("scan/listing")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan<ScanFolderByProbing>)
    ->Name("scan/probing")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond);
// Argument: the folder the descent starts at; only S001 holds frames. Probing 9999 folders takes
// minutes, so its figure is measured over 100 folders and scales linearly.
BENCHMARK(BM_DescentListing)
    ->Name("descent/listing")
    ->Arg(100)
    ->Arg(9999)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DescentProbing)
    ->Name("descent/probing")
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
