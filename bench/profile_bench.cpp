// GwProfile load and save of profiles with 1,000 and 30,000 keys, in
// sections of 100 keys as the program's profiles hold them and in one section
// as the worst case. The reference is the plain read or replacement of the
// same file's bytes.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

#include "bench/support/bench_env.h"
#include "platform/files/text_file.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kPath[] = "..\\userdata\\bench.ini";

std::string SectionName(int index) { return "Section" + std::to_string(index); }

// A profile of `keys` keys, `per_section` to a section; values as a
// parameter file's array sections hold them.
std::unique_ptr<GwProfile> FilledProfile(int keys, int per_section) {
    auto profile = std::make_unique<GwProfile>(kPath);
    profile->clear();
    for (int k = 0; k < keys; ++k) {
        if (k % per_section == 0) profile->create_section(SectionName(k / per_section).c_str());
        profile->write_int(std::to_string(k % per_section).c_str(), -1000 * k - 7);
    }
    return profile;
}

double ReplaceReferenceNs(const std::string& bytes) {
    const uint64_t start = bench::RealNs();
    platform::ReplaceFile(kPath, bytes);
    return static_cast<double>(bench::RealNs() - start);
}

double ReadReferenceNs() {
    const uint64_t start = bench::RealNs();
    benchmark::DoNotOptimize(platform::ReadBinaryFile(kPath));
    return static_cast<double>(bench::RealNs() - start);
}

void ProfileSave(benchmark::State& state) {
    const int keys = static_cast<int>(state.range(0));
    const int per_section = static_cast<int>(state.range(1));
    std::unique_ptr<GwProfile> profile = FilledProfile(keys, per_section);
    double reference_ns = 0;
    double figure_ns = 0;
    for (auto _ : state) {
        const uint64_t start = bench::RealNs();
        if (!profile->save()) {
            state.SkipWithError("the profile was not saved");
            break;
        }
        figure_ns += static_cast<double>(bench::RealNs() - start);
        state.PauseTiming();
        reference_ns += ReplaceReferenceNs(*platform::ReadBinaryFile(kPath));
        state.ResumeTiming();
    }
    bench::ReportFigure(state,
                        figure_ns / state.iterations() / 1e6,
                        reference_ns / state.iterations() / 1e6,
                        "ms per save",
                        "replacing the same bytes");
    state.counters["keys"] = keys;
}

void ProfileLoad(benchmark::State& state) {
    const int keys = static_cast<int>(state.range(0));
    const int per_section = static_cast<int>(state.range(1));
    if (!FilledProfile(keys, per_section)->save()) {
        state.SkipWithError("the profile was not saved");
        return;
    }
    double reference_ns = 0;
    double figure_ns = 0;
    for (auto _ : state) {
        const uint64_t start = bench::RealNs();
        GwProfile profile(kPath);
        if (!profile.is_valid() || profile.section_count() != 1 + (keys + per_section - 1) / per_section) {
            state.SkipWithError("the profile did not load");
            break;
        }
        figure_ns += static_cast<double>(bench::RealNs() - start);
        state.PauseTiming();
        reference_ns += ReadReferenceNs();
        state.ResumeTiming();
    }
    bench::ReportFigure(state,
                        figure_ns / state.iterations() / 1e6,
                        reference_ns / state.iterations() / 1e6,
                        "ms per load",
                        "reading the same bytes");
    state.counters["keys"] = keys;
}

void ProfileArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"keys", "per_section"});
    b->Args({1000, 100});
    b->Args({30000, 100});
    b->Args({30000, 30000});
}

BENCHMARK(ProfileLoad)->Apply(ProfileArguments)->Unit(benchmark::kMillisecond);
BENCHMARK(ProfileSave)->Apply(ProfileArguments)->Unit(benchmark::kMillisecond);

}  // namespace
