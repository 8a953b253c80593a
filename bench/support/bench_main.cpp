// The main of every benchmark executable: a fresh run-time tree in /tmp made
// from the one the build laid out, the working directory in its bin/, UTC
// time, the virtual clock, and every layer's state reset once; the tree is
// removed at the end, and the process fails when a benchmark did.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/base/reset_hooks.h"
#include "platform/system/clock.h"
#include "testsupport/runtime_tree.h"

namespace {

// Shows the runs as the chosen format would and notes whether any failed, so
// that a benchmark that no longer runs fails its process (the CI run).
class FailureNotingReporter : public benchmark::BenchmarkReporter {
public:
    FailureNotingReporter() : display_(benchmark::CreateDefaultDisplayReporter()) {}
    bool ReportContext(const Context& context) override { return display_->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) failed_ = failed_ || run.error_occurred;
        display_->ReportRuns(runs);
    }
    void Finalize() override { display_->Finalize(); }
    bool Failed() const { return failed_; }

private:
    std::unique_ptr<benchmark::BenchmarkReporter> display_;
    bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    char pattern[] = "/tmp/torvan-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::filesystem::path root = pattern;
    testsupport::MakeRuntimeTree(root);
    std::filesystem::current_path(root / "bin");
    platform::SetTimeZoneOffset(0);
    // As in the tests, time is virtual unless a benchmark installs another
    // clock; the bus benchmarks install a fresh one for every run.
    platform::InstallClock(std::make_unique<platform::VirtualClock>());
    // Layers that keep process-wide state (the program log among them) start
    // in this tree.
    platform::RunResetHooks();

    FailureNotingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::error_code ec;
    std::filesystem::current_path("/", ec);
    std::filesystem::remove_all(root, ec);
    return reporter.Failed() ? 1 : 0;
}
