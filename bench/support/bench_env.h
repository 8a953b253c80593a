// What every benchmark process has: its own run-time tree (the working
// directory is <root>/bin, beside TMP/, FIRMDATA/, LANGUAGE/ and userdata/),
// UTC time, thread CPU time, and one way of reporting a figure against its
// reference so the table printer can read every benchmark alike.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

// Root of this process's run-time tree; set once by the benchmark main.
const std::filesystem::path& RuntimeRoot();
void SetRuntimeRoot(const std::filesystem::path& root);
// <root>/<relative>, for example RuntimePath("userdata/set.00D").
std::filesystem::path RuntimePath(const std::string& relative);

// Writes `bytes` exactly, creating the directories.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

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
