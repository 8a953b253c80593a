// The main of every benchmark executable: a fresh run-time tree in /tmp made
// from the one the build laid out, the working directory in its bin/, UTC
// time, the virtual clock, and every layer's state reset once; the tree is
// removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/clock.h"
#include "platform/reset_hooks.h"
#include "testsupport/runtime_tree.h"

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

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::error_code ec;
    std::filesystem::current_path("/", ec);
    std::filesystem::remove_all(root, ec);
    return 0;
}
