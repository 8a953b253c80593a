// WriteFileBase and ReadFileBase of the full parameter set (the D table, the
// X profile of strings and arrays, the T value texts), per set. The set is
// read once from the virtual drive; the reference is the plain replacement
// or read of the same three files' bytes.
#include <benchmark/benchmark.h>

#include <array>
#include <optional>
#include <string>

#include "app/services/app_files.h"
#include "bench/support/bench_env.h"
#include "bench/support/full_set_table.h"
#include "bench/support/serial_drive.h"
#include "parameters/parabase/para_base.h"
#include "platform/files/text_file.h"

namespace {

constexpr int32_t kBaud = 115200;
constexpr char kSetPath[] = "..\\userdata\\fullset.01D";
const std::array<const char*, 3> kSetFiles = {
    "..\\userdata\\fullset.01D", "..\\userdata\\fullset.01X", "..\\userdata\\fullset.01T"};

// The three files' bytes as WriteFileBase left them.
std::array<std::string, 3> SetBytes() {
    std::array<std::string, 3> bytes;
    for (size_t i = 0; i < kSetFiles.size(); ++i) bytes[i] = platform::ReadBinaryFile(kSetFiles[i]).value_or("");
    return bytes;
}

double ReplaceReferenceNs(const std::array<std::string, 3>& bytes) {
    const uint64_t start = bench::RealNs();
    for (size_t i = 0; i < kSetFiles.size(); ++i) platform::ReplaceFile(kSetFiles[i], bytes[i]);
    return static_cast<double>(bench::RealNs() - start);
}

double ReadReferenceNs() {
    const uint64_t start = bench::RealNs();
    for (const char* file : kSetFiles) benchmark::DoNotOptimize(platform::ReadBinaryFile(file));
    return static_cast<double>(bench::RealNs() - start);
}

size_t SetSize(const std::array<std::string, 3>& bytes) { return bytes[0].size() + bytes[1].size() + bytes[2].size(); }

void ParameterFiles(benchmark::State& state) {
    const bool write = state.range(0) != 0;
    OpenApplicationFiles();
    bench::WriteStandardDescriptionFile();
    bench::SerialDrive serial(bench::FullSetTable(), kBaud);
    ParaBase device(&serial.Bus(), bench::kSerialDriveAddress);
    if (!serial.IsOpen() || device.ReadBusBase() != 0 ||
        bench::EntriesInDataSet(device) != bench::FullSetPresentCount()) {
        state.SkipWithError("the full set could not be read from the drive");
        CloseApplicationFiles();
        return;
    }
    device.InitFile(kSetPath);
    if (device.WriteFileBase() != 0) {
        state.SkipWithError(("the set was not written: " + std::string(device.MessageBuffer)).c_str());
        CloseApplicationFiles();
        return;
    }
    const std::array<std::string, 3> bytes = SetBytes();

    double figure_ns = 0;
    double reference_ns = 0;
    for (auto _ : state) {
        int result = 0;
        const uint64_t start = bench::RealNs();
        if (write) {
            result = device.WriteFileBase();
        } else {
            ParaBase file;
            file.InitFile(kSetPath);
            result = file.ReadFileBase();
            if (result == 0 && bench::EntriesInDataSet(file) != bench::FullSetPresentCount()) result = -1;
        }
        figure_ns += static_cast<double>(bench::RealNs() - start);
        if (result != 0) {
            state.SkipWithError("the set was not written or read");
            break;
        }
        state.PauseTiming();
        reference_ns += write ? ReplaceReferenceNs(bytes) : ReadReferenceNs();
        state.ResumeTiming();
    }
    CloseApplicationFiles();
    const double n = static_cast<double>(state.iterations());
    bench::ReportFigure(state,
                        figure_ns / n / 1e6,
                        reference_ns / n / 1e6,
                        "ms per set",
                        write ? "replacing the same three files" : "reading the same three files");
    state.counters["set_bytes"] = static_cast<double>(SetSize(bytes));
}

BENCHMARK(ParameterFiles)->ArgName("write")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
