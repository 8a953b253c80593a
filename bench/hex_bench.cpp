// ReadHexIntoImage of an Intel-HEX file that carries a 1 MiB image (32 data
// bytes per record, as the drives' own image files), in MB of image per
// second. The reference is reading the same file, in the same unit.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "bench/support/bench_env.h"
#include "platform/files/text_file.h"
#include "service/firmware/hex_image.h"
#include "service/firmware/intel_hex.h"
#include "service/firmware/loader_device_types.h"

namespace {

constexpr uint32_t kImageBytes = 1u << 20;
constexpr int kRecordLength = 32;
constexpr char kHexPath[] = "..\\userdata\\image.hex";
constexpr double kMegabyte = 1024.0 * 1024.0;

// The first device type's loader, with one segment of the whole image.
constexpr SegmentLayout kWholeImage[] = {{0x0, kImageBytes, 0xFF}};

LoaderDeviceType WholeImageType() {
    LoaderDeviceType type = *FindLoaderDeviceType(0);
    type.segments = kWholeImage;
    return type;
}

// Image bytes that are never all fill, so every record is written.
LoaderImage FilledImage(const LoaderDeviceType& type) {
    LoaderImage image = MakeLoaderImage(type);
    uint32_t state = 12345;
    for (uint8_t& byte : image.front().bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return image;
}

void HexRead(benchmark::State& state) {
    const LoaderDeviceType type = WholeImageType();
    if (!WriteImageHexFile(FilledImage(type), kRecordLength, kHexPath, type.addressKind)) {
        state.SkipWithError("the image file was not written");
        return;
    }
    const std::optional<std::string> text = platform::ReadTextFile(kHexPath);
    double figure_ns = 0;
    double reference_ns = 0;
    for (auto _ : state) {
        LoaderImage image = MakeLoaderImage(type);
        HexTextReader reader(*text);
        uint32_t number = 0;
        const uint64_t start = bench::RealNs();
        const int result = ReadHexIntoImage(reader, image, type, number);
        figure_ns += static_cast<double>(bench::RealNs() - start);
        if (result != kHexOk) {
            state.SkipWithError("the image file was not read");
            break;
        }
        state.PauseTiming();
        const uint64_t reference_start = bench::RealNs();
        benchmark::DoNotOptimize(platform::ReadTextFile(kHexPath));
        reference_ns += static_cast<double>(bench::RealNs() - reference_start);
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    const double image_mb = kImageBytes / kMegabyte;
    bench::ReportRate(state,
                      image_mb / (figure_ns / n / 1e9),
                      image_mb / (reference_ns / n / 1e9),
                      "MB of image per s",
                      "reading the same file");
    state.counters["file_MB"] = static_cast<double>(text->size()) / kMegabyte;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kImageBytes);
}

BENCHMARK(HexRead)->Unit(benchmark::kMillisecond);

}  // namespace
