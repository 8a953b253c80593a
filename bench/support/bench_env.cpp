#include "bench/support/bench_env.h"

#include <time.h>

#include <chrono>

namespace bench {

uint64_t ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

uint64_t RealNs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

void ReportFigure(benchmark::State& state, double figure, double reference, const std::string& unit,
                  const std::string& reference_name) {
    state.counters["figure"] = figure;
    state.counters["reference"] = reference;
    state.counters["ratio"] = reference > 0 ? figure / reference : 0.0;
    state.SetLabel(unit + "|" + reference_name);
}

void ReportRate(benchmark::State& state, double figure, double reference, const std::string& unit,
                const std::string& reference_name) {
    ReportFigure(state, figure, reference, unit, reference_name);
    state.counters["ratio"] = figure > 0 ? reference / figure : 0.0;
}

}  // namespace bench
