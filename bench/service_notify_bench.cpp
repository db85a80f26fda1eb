// Service notification: what the main loop's report and the waits' watchdog call cost per cycle,
// with NOTIFY_SOCKET unset and (run it with NOTIFY_SOCKET and WATCHDOG_USEC set) with a manager
// to tell, where all but the rate-limited messages are skipped.
#include <benchmark/benchmark.h>

#include "common/state.hpp"
#include "platform/service_notify.hpp"
#include "shell/service_report.hpp"

namespace {

void BM_ServiceReportPerCycle(benchmark::State& state) {
    MaxCount = 22000;
    shown_frame_no = 0.0;
    for (auto _ : state) {
        frame_no = static_cast<int>(frame_no + 1) % MaxCount;  // a new status line every cycle
        ReportToService();
        ServiceWatchdog();
    }
    state.SetLabel(ServiceNotifyOn() ? "NOTIFY_SOCKET set" : "NOTIFY_SOCKET unset");
}
BENCHMARK(BM_ServiceReportPerCycle);

}  // namespace

BENCHMARK_MAIN();
