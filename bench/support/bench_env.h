// What every benchmark has beside the run-time tree its main made: CPU and
// real time, and one way of reporting a figure against its reference so the
// table printer can read every benchmark alike.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace bench {

// CPU time this thread has used, in nanoseconds.
uint64_t ThreadCpuNs();
// Real time since an arbitrary start, in nanoseconds.
uint64_t RealNs();

// Reports a benchmark's figure as counters "figure", "reference" and
// "ratio" (figure / reference, both in `unit`), and the label
// "<unit>|<what the reference is>". Further counters of a benchmark are its
// details.
void ReportFigure(benchmark::State& state, double figure, double reference, const std::string& unit,
                  const std::string& reference_name);
// The same for a rate (more is faster): "ratio" stays the time the figure
// takes over the time of the reference, reference / figure.
void ReportRate(benchmark::State& state, double figure, double reference, const std::string& unit,
                const std::string& reference_name);

}  // namespace bench
